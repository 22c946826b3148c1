#include "pym/core/ParsedFileCache.h"

namespace Pym {

namespace {

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool SameFile(const ParsedFileCache::Stamp& a, const ParsedFileCache::Stamp& b) {
    return a.regular && b.regular && a.info.st_dev == b.info.st_dev &&
           a.info.st_ino == b.info.st_ino && a.info.st_size == b.info.st_size &&
           SameTime(a.info.st_mtim, b.info.st_mtim) && SameTime(a.info.st_ctim, b.info.st_ctim);
}

}  // namespace

ParsedFileCache::Stamp ParsedFileCache::StampOf(const std::string& path) {
    Stamp stamp;
    stamp.regular = ::stat(path.c_str(), &stamp.info) == 0 && S_ISREG(stamp.info.st_mode);
    return stamp;
}

const TiXmlDocument* ParsedFileCache::Find(const std::string& path, const Stamp& now) const {
    auto found = entries_.find(path);
    if (found == entries_.end() || !SameFile(found->second.stamp, now)) return nullptr;
    return found->second.parsed.get();
}

void ParsedFileCache::Keep(const std::string& path, const Stamp& before,
                           const TiXmlDocument& parsed) {
    if (!before.regular) return;
    entries_[path] = Entry{before, std::make_unique<TiXmlDocument>(parsed)};
}

}  // namespace Pym
