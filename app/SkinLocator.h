#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Chooses the skin folder the program starts in. A folder named by the user (--skin, else
// ONDREL_SKIN) is the only one tried; otherwise the skin installed beside the program, then,
// for a program in its build tree, the source tree's skin. A skin is a folder holding the
// application document.
class SkinLocator {
public:
    // Where the program finds its skin when nobody names one.
    struct Defaults {
        std::filesystem::path executable;  // the running program's own file
        std::filesystem::path installed;   // the installed skin, relative to the program's folder
        std::filesystem::path buildTree;   // a program under this folder is a development build
        std::filesystem::path sourceSkin;  // ... and runs on this skin
    };

    // The skin named on the command line (if any), in ONDREL_SKIN (empty: none) and the defaults.
    SkinLocator(std::optional<std::string> option, std::string variable, Defaults defaults);

    // The chosen skin folder, absolute; none when no place holds a skin (see Failure).
    std::optional<std::filesystem::path> Locate();

    // One line that names every place tried and why it is not a skin.
    const std::string& Failure() const { return failure_; }

    // The defaults of this build: the running program, the installed layout, this build tree.
    static Defaults BuildDefaults();

private:
    struct Place {
        std::filesystem::path folder;
        std::string origin;
    };
    std::vector<Place> Places() const;
    // Why the folder is not a skin, or empty when it is one.
    static std::string Defect(const std::filesystem::path& folder);

    std::optional<std::string> option_;
    std::string variable_;
    Defaults defaults_;
    std::string failure_;
};
