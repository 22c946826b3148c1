#include "pym/core/DocMap.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "pym/base/RegularFile.h"
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

// Skin documents are small; anything larger is not one.
constexpr std::size_t kMaxDocumentBytes = 16u << 20;
// TinyXML parses nested elements recursively: a hostile document deep enough ends the process
// on a stack overflow. Skins nest a few dozen levels.
constexpr int kMaxNesting = 256;

std::size_t SkipPast(const std::string& text, std::size_t from, const char* end) {
    std::size_t found = text.find(end, from);
    return found == std::string::npos ? text.size() : found + std::strlen(end);
}

// True when elements nest deeper than `limit`, counted on the raw text before any parsing.
bool NestsDeeperThan(const std::string& text, int limit) {
    int depth = 0;
    std::size_t i = text.find('<');
    while (i < text.size()) {
        if (text.compare(i, 4, "<!--") == 0) {
            i = SkipPast(text, i, "-->");
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            i = SkipPast(text, i, "]]>");
        } else if (text.compare(i, 2, "<?") == 0) {
            i = SkipPast(text, i, "?>");
        } else if (text.compare(i, 2, "<!") == 0) {
            i = SkipPast(text, i, ">");
        } else if (text.compare(i, 2, "</") == 0) {
            --depth;
            i = SkipPast(text, i, ">");
        } else {
            // A start tag: quoted values may hold '>' and '/'.
            char quote = 0, last = 0;
            for (++i; i < text.size() && (quote || text[i] != '>'); ++i) {
                if (quote && text[i] == quote)
                    quote = 0;
                else if (!quote && (text[i] == '"' || text[i] == '\''))
                    quote = text[i];
                if (!std::isspace(static_cast<unsigned char>(text[i]))) last = text[i];
            }
            if (last != '/' && ++depth > limit) return true;
            ++i;
        }
        i = text.find('<', i);
    }
    return false;
}

// What TinyXML's own file loading does to line ends before parsing.
void NormaliseLineEnds(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
        } else {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        }
    }
    text = std::move(out);
}

// What TinyXML knows of the fault, with its position.
std::string ParseErrorOf(const TiXmlDocument& document) {
    return std::string(document.ErrorDesc()) + " at line " + std::to_string(document.ErrorRow()) +
           ", column " + std::to_string(document.ErrorCol());
}

// Nothing reads a skin's comments, and every object that inherits a base document holds a
// copy of that document for as long as it lives.
void DropComments(TiXmlNode* node) {
    TiXmlNode* child = node->FirstChild();
    while (child) {
        TiXmlNode* next = child->NextSibling();
        if (child->ToComment())
            node->RemoveChild(child);
        else
            DropComments(child);
        child = next;
    }
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
    lastError_.clear();
    std::shared_ptr<Document> document;
    ParsedFileCache::Stamp stamp;
    if (keepParsedFiles_) {
        stamp = ParsedFileCache::StampOf(path);
        if (const FlatDocument* parsed = parsedFiles_.Find(path, stamp)) {
            document = std::make_shared<Document>(path);
            parsed->CopyInto(*document);
        }
    }
    if (!document) {
        document = ReadDocument(path);
        if (!document) {
            Trace("DocMap::GetDocument - failed to load XML file " + path);
            return nullptr;
        }
        if (keepParsedFiles_) parsedFiles_.Keep(path, stamp, *document);
    }
    documents_.push_back(document);
    return document.get();
}

std::shared_ptr<Document> _DocMap::ReadDocument(const std::string& path) {
    auto document = std::make_shared<Document>(path);
    std::error_code error;
    std::string text;
    // TinyXML would read a directory as an empty, malformed document; only regular files are
    // read at all (a FIFO or a device would block the window thread for ever), and a
    // document nested deep enough to overflow the parser's stack is refused before parsing.
    if (!fs::exists(path, error)) {
        lastError_ = "is missing";
    } else if (fs::is_directory(path, error)) {
        lastError_ = "is a folder, not a document";
    } else if (!ReadRegularFile(path, kMaxDocumentBytes, text)) {
        lastError_ = "is not a regular file of at most 16 MB";
    } else if (NestsDeeperThan(text, kMaxNesting)) {
        lastError_ = "nests its elements deeper than " + std::to_string(kMaxNesting);
    } else {
        NormaliseLineEnds(text);
        document->Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
        if (document->Error())
            lastError_ = "is malformed: " + ParseErrorOf(*document);
        else if (!document->RootElement())
            lastError_ = "has no root element";
        else
            DropComments(document.get());
    }
    return lastError_.empty() ? document : nullptr;
}

void _DocMap::KeepParsedFiles(bool keep) {
    keepParsedFiles_ = keep;
    if (!keep) parsedFiles_.Clear();
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
