#include "app/SkinLocator.h"

#include <algorithm>
#include <system_error>

#include "app/TunerApp.h"

namespace fs = std::filesystem;

namespace {

fs::path Normal(const fs::path& path) {
    std::error_code error;
    fs::path normal = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? path.lexically_normal() : normal;
}

bool Inside(const fs::path& path, const fs::path& folder) {
    if (path.empty() || folder.empty()) return false;
    const fs::path a = Normal(path), b = Normal(folder);
    return std::mismatch(b.begin(), b.end(), a.begin(), a.end()).first == b.end();
}

}  // namespace

SkinLocator::SkinLocator(std::optional<std::string> option, std::string variable, Defaults defaults)
    : option_(std::move(option)), variable_(std::move(variable)), defaults_(std::move(defaults)) {}

std::vector<SkinLocator::Place> SkinLocator::Places() const {
    if (option_) return {{*option_, "--skin"}};
    if (!variable_.empty()) return {{variable_, "ONDREL_SKIN"}};
    std::vector<Place> places;
    const fs::path programFolder = defaults_.executable.parent_path();
    if (!defaults_.executable.empty())
        places.push_back({programFolder / defaults_.installed, "installed beside the program"});
    if (Inside(defaults_.executable, defaults_.buildTree))
        places.push_back({defaults_.sourceSkin, "the source tree"});
    return places;
}

std::string SkinLocator::Defect(const fs::path& folder) {
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (!fs::exists(status)) return "no such folder";
    if (!fs::is_directory(status)) return "not a folder";
    if (!fs::is_regular_file(folder / CTunerApp::kApplicationDocument, error))
        return std::string("no ") + CTunerApp::kApplicationDocument + " in it";
    return {};
}

std::optional<fs::path> SkinLocator::Locate() {
    std::string tried;
    for (const Place& place : Places()) {
        // An empty name would otherwise stand for the working folder.
        const fs::path folder = place.folder.empty() ? fs::path() : Normal(place.folder);
        const std::string defect = folder.empty() ? "no folder named" : Defect(folder);
        if (defect.empty()) return folder;
        const std::string name = folder.empty() ? "\"\"" : folder.string();
        tried += (tried.empty() ? "" : "; ") + name + " (" + place.origin + "): " + defect;
    }
    failure_ = "no skin found; tried " + (tried.empty() ? std::string("nothing") : tried);
    return std::nullopt;
}

SkinLocator::Defaults SkinLocator::BuildDefaults() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) executable.clear();
    return {executable, ONDREL_INSTALLED_SKIN, ONDREL_BUILD_TREE, ONDREL_SOURCE_SKIN};
}
