#include "pym/core/DocMap.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "pym/base/Singleton.h"
#include "pym/base/Trace.h"

namespace fs = std::filesystem;

namespace Pym {

namespace {

constexpr const char* kLibraryToken = "$PYM";
constexpr std::size_t kLibraryTokenLength = 4;

// Absolute, lexically normal, without a trailing separator.
std::string AbsoluteForm(const fs::path& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) absolute = path;
    std::string text = absolute.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

// A reference used as written: one with a drive or a scheme ("C:", "http://"), or, on this
// platform, one that starts at the root of the file system.
bool IsAbsolute(const std::string& reference) {
    return reference.find(':') != std::string::npos || reference.starts_with('/');
}

// What TinyXML knows of the fault, with its position.
std::string ParseErrorOf(const TiXmlDocument& document) {
    return std::string(document.ErrorDesc()) + " at line " + std::to_string(document.ErrorRow()) +
           ", column " + std::to_string(document.ErrorCol());
}

}  // namespace

_DocMap::_DocMap() {
    ResetSearchPath();
}

void _DocMap::ResetSearchPath() {
    std::error_code error;
    fs::path current = fs::current_path(error);
    startDirectory_ = AbsoluteForm(error ? fs::path(".") : current);

    if (const char* lib = std::getenv("ONDREL_LIB")) {
        std::string candidate = AbsoluteForm(fs::path(lib) / "lib/PYM/XML");
        if (fs::is_directory(candidate, error)) {
            libraryRoot_ = candidate;
            return;
        }
    }
    libraryRoot_ = AbsoluteForm(fs::path(startDirectory_) / "../lib/PYM/XML/");
}

std::string _DocMap::ResolvePath(const std::string& reference, bool asIs) const {
    if (asIs) return reference;
    std::size_t token = reference.find(kLibraryToken);
    if (token != std::string::npos)
        return libraryRoot_ + "/" + reference.substr(token + kLibraryTokenLength);
    if (IsAbsolute(reference)) return reference;
    return startDirectory_ + "/" + reference;
}

Document* _DocMap::GetDocument(const std::string& reference, bool asIs) {
    std::string path = ResolvePath(reference, asIs);
    auto document = std::make_shared<Document>(path);
    std::error_code error;
    lastError_.clear();
    // TinyXML would read a directory as an empty, malformed document.
    if (!fs::exists(path, error))
        lastError_ = "is missing";
    else if (fs::is_directory(path, error))
        lastError_ = "is a folder, not a document";
    else if (!document->LoadFile(TIXML_ENCODING_UTF8))
        lastError_ = "is malformed: " + ParseErrorOf(*document);
    else if (!document->RootElement())
        lastError_ = "has no root element";
    if (!lastError_.empty()) {
        Trace("DocMap::GetDocument - failed to load XML file " + path);
        return nullptr;
    }
    documents_.push_back(document);
    return document.get();
}

void _DocMap::SetDefaultXml(const std::string& typeName, const std::string& reference) {
    defaultXml_.emplace(typeName, reference);
}

std::string _DocMap::GetDefaultXml(const std::string& typeName) const {
    auto found = defaultXml_.find(typeName);
    return found == defaultXml_.end() ? std::string() : found->second;
}

std::string _DocMap::ExpandLibraryPath(const std::string& text) const {
    std::size_t token = text.find(kLibraryToken);
    if (token == std::string::npos) return text;
    return libraryRoot_ + "/" + text.substr(token + kLibraryTokenLength);
}

void _DocMap::ResolveResourcePath(std::string& text) const {
    std::size_t token = text.find("$PYM/");
    if (token != std::string::npos)
        text = libraryRoot_ + "/" + text.substr(token + kLibraryTokenLength);
    else if (!IsAbsolute(text))
        text = startDirectory_ + "/" + text;
}

void _DocMap::Release(const TiXmlDocument* document) {
    for (auto it = documents_.begin(); it != documents_.end(); ++it) {
        if (it->get() == document) {
            documents_.erase(it);
            return;
        }
    }
}

_DocMap& DllDocMapInstance() {
    return Singleton<_DocMap>::Instance();
}

}  // namespace Pym
