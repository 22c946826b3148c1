#pragma once

#include <sys/stat.h>

#include <memory>
#include <string>
#include <unordered_map>

#include <tinyxml.h>

namespace Pym {

// Parsed skin files kept by path, each given out only while the file on disk is still the one
// it was parsed from: the same file (device and inode), size, modification and change times.
class ParsedFileCache {
public:
    // What a file was before it was read. Taken before reading, so that a file changed while
    // it is read never matches the parse that was made of it.
    struct Stamp {
        bool regular = false;
        struct stat info {};
    };
    static Stamp StampOf(const std::string& path);

    // The kept parse of `path` when the file is as `now` says it was; else null.
    const TiXmlDocument* Find(const std::string& path, const Stamp& now) const;
    // Keeps a copy of `parsed`, read from `path` when it was as `before` says.
    void Keep(const std::string& path, const Stamp& before, const TiXmlDocument& parsed);
    // Frees every kept parse, the table's own storage too.
    void Clear() { entries_ = decltype(entries_)(); }
    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        Stamp stamp;
        std::unique_ptr<TiXmlDocument> parsed;
    };
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace Pym
