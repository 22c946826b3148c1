#include "platform/IniDocument.h"

namespace Platform {

namespace {

// The position of the first '=' that is not escaped, or npos.
std::size_t FindSeparator(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '=')
            return i;
    }
    return std::string::npos;
}

// The position of the last ']' that is not escaped, or npos.
std::size_t FindSectionEnd(const std::string& line) {
    std::size_t end = std::string::npos;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == ']')
            end = i;
    }
    return end;
}

}  // namespace

std::string IniDocument::Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool outer = i == 0 || i + 1 == text.size();
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '=':
                out += "\\=";
                break;
            case '[':
                out += "\\[";
                break;
            case ']':
                out += "\\]";
                break;
            case ';':
                out += "\\;";
                break;
            case '#':
                out += "\\#";
                break;
            case ' ':
                out += outer ? "\\s" : " ";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string IniDocument::Unescape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        switch (c) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 's':
                out += ' ';
                break;
            case 't':
                out += '\t';
                break;
            default:
                out += c;
        }
    }
    return out;
}

IniDocument IniDocument::Parse(const std::string& text) {
    IniDocument document;
    Section* section = nullptr;
    // Editors on other systems may start the file with a byte order mark.
    std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Hand-edited files may indent or pad; written ones escape their outer spaces.
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        line.erase(0, first);
        while (line.back() == ' ' || line.back() == '\t') line.pop_back();
        if (line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            std::size_t close = FindSectionEnd(line);
            if (close == std::string::npos) {
                section = nullptr;  // a broken header: skip its entries rather than misfile them
                continue;
            }
            std::string name = Unescape(line.substr(1, close - 1));
            section = document.FindSection(name);
            if (!section) section = &document.sections_.emplace_back(Section{name, {}});
            continue;
        }
        std::size_t separator = FindSeparator(line);
        if (!section || separator == std::string::npos) continue;
        std::string key = line.substr(0, separator);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
        std::string value = line.substr(separator + 1);
        value.erase(0, std::min(value.find_first_not_of(" \t"), value.size()));
        section->entries.emplace_back(Unescape(key), Unescape(value));
    }
    return document;
}

std::string IniDocument::Serialise() const {
    std::string text;
    for (const Section& section : sections_) {
        if (!text.empty()) text += '\n';
        text += "[" + Escape(section.name) + "]\n";
        for (const auto& [key, value] : section.entries)
            text += Escape(key) + "=" + Escape(value) + "\n";
    }
    return text;
}

std::optional<std::string> IniDocument::Get(const std::string& section,
                                            const std::string& key) const {
    const Section* found = FindSection(section);
    if (!found) return std::nullopt;
    // A key written twice by hand: the first one counts, and is the one Set replaces.
    for (const auto& entry : found->entries)
        if (entry.first == key) return entry.second;
    return std::nullopt;
}

void IniDocument::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
    Section* found = FindSection(section);
    if (!found) found = &sections_.emplace_back(Section{section, {}});
    for (auto& entry : found->entries) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    found->entries.emplace_back(key, value);
}

IniDocument::Section* IniDocument::FindSection(const std::string& name) {
    for (Section& section : sections_)
        if (section.name == name) return &section;
    return nullptr;
}

const IniDocument::Section* IniDocument::FindSection(const std::string& name) const {
    for (const Section& section : sections_)
        if (section.name == name) return &section;
    return nullptr;
}

}  // namespace Platform
