#pragma once

#include <list>
#include <map>
#include <memory>
#include <string>

#include "pym/core/Document.h"
#include "pym/core/ParsedFileCache.h"

namespace Pym {

// Finds skin documents on the search path, loads them and owns them. A reference names a
// document in one of three ways: with the "$PYM" token (the library root), as an absolute
// path or address (a ":" or a leading "/": used as written), or relative to the start
// directory.
class _DocMap {
public:
    _DocMap();
    _DocMap(const _DocMap&) = delete;
    _DocMap& operator=(const _DocMap&) = delete;

    // A new document of the map for every call, even for the same reference; null (with a
    // trace) when it is missing or malformed.
    Document* GetDocument(const std::string& reference, bool asIs = false);
    // While on, each file is read and parsed once and every call gets a copy of that parse,
    // as long as the file on disk is unchanged. For the start, which builds the same
    // templates dozens of times; turning it off frees the kept parses.
    void KeepParsedFiles(bool keep);
    // Why the last GetDocument gave null ("is missing", "is malformed: ... at line 3,
    // column 7"); empty after a success.
    const std::string& LastError() const { return lastError_; }

    // The file path a reference resolves to.
    std::string ResolvePath(const std::string& reference, bool asIs = false) const;

    void SetDefaultXml(const std::string& typeName, const std::string& reference);
    std::string GetDefaultXml(const std::string& typeName) const;

    std::string ExpandLibraryPath(const std::string& text) const;
    void ResolveResourcePath(std::string& text) const;

    // Drops the map's hold on a document (the first entry for it).
    void Release(const TiXmlDocument* document);

    const std::string& StartDirectory() const { return startDirectory_; }
    const std::string& LibraryRoot() const { return libraryRoot_; }
    std::size_t DocumentCount() const { return documents_.size(); }

    // Takes the start directory and ONDREL_LIB afresh, as at creation. For tests, which
    // change directory after the map exists.
    void ResetSearchPath();

private:
    // The document read and parsed from `path`; null with lastError_ set when it cannot be.
    std::shared_ptr<Document> ReadDocument(const std::string& path);

    std::list<std::shared_ptr<Document>> documents_;
    bool keepParsedFiles_ = false;
    ParsedFileCache parsedFiles_;
    std::string startDirectory_;
    std::string libraryRoot_;
    std::map<std::string, std::string> defaultXml_;
    std::string lastError_;
};

_DocMap& DllDocMapInstance();

}  // namespace Pym
