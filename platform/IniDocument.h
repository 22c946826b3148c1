#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

// The text of a profile file: sections of key=value lines. Keys, values and section names
// may hold any bytes: backslash escapes keep '=', line breaks, brackets, comment marks and
// outer spaces intact through a round trip. Lines that make no sense are skipped, so a
// damaged file still yields what can be read of it.
class IniDocument {
public:
    static IniDocument Parse(const std::string& text);
    std::string Serialise() const;

    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    void Set(const std::string& section, const std::string& key, const std::string& value);

    static std::string Escape(const std::string& text);
    static std::string Unescape(const std::string& text);

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    Section* FindSection(const std::string& name);
    const Section* FindSection(const std::string& name) const;

    std::vector<Section> sections_;
};

}  // namespace Platform
