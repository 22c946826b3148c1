#pragma once

#include <sys/stat.h>

#include <functional>
#include <map>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>

#include <tinyxml.h>

#include "pym/core/FlatDocument.h"

namespace Pym {

// Parsed skin files kept by path, each given out only while the file on disk is still the one
// it was parsed from: the same file (device and inode), size, modification and change times.
// Everything kept lives in a few large blocks of its own: clearing frees whole pages that go
// back to the system, where parses kept as trees of small pieces would leave holes among the
// objects built meanwhile.
class ParsedFileCache {
public:
    // What a file was before it was read. Taken before reading, so that a file changed while
    // it is read never matches the parse that was made of it.
    struct Stamp {
        bool regular = false;
        struct stat info {};
    };
    static Stamp StampOf(const std::string& path);

    ParsedFileCache();
    ~ParsedFileCache();

    // The kept parse of `path` when the file is as `now` says it was; else null.
    const FlatDocument* Find(const std::string& path, const Stamp& now) const;
    // Keeps `parsed`, read from `path` when it was as `before` says.
    void Keep(const std::string& path, const Stamp& before, const TiXmlDocument& parsed);
    void Clear();

private:
    struct Entry {
        Stamp stamp;
        FlatDocument parsed;
    };
    using Entries = std::pmr::map<std::pmr::string, Entry, std::less<>>;

    std::unique_ptr<std::pmr::monotonic_buffer_resource> memory_;
    std::unique_ptr<Entries> entries_;
};

}  // namespace Pym
