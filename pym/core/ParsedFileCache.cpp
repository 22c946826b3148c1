#include "pym/core/ParsedFileCache.h"

namespace Pym {

namespace {

// The start's parses fit in one or two blocks; above 128 kB, the allocator maps a block apart.
constexpr std::size_t kFirstBlockBytes = 256u << 10;

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool SameFile(const ParsedFileCache::Stamp& a, const ParsedFileCache::Stamp& b) {
    return a.regular && b.regular && a.info.st_dev == b.info.st_dev &&
           a.info.st_ino == b.info.st_ino && a.info.st_size == b.info.st_size &&
           SameTime(a.info.st_mtim, b.info.st_mtim) && SameTime(a.info.st_ctim, b.info.st_ctim);
}

}  // namespace

ParsedFileCache::ParsedFileCache() = default;

ParsedFileCache::~ParsedFileCache() {
    Clear();
}

ParsedFileCache::Stamp ParsedFileCache::StampOf(const std::string& path) {
    Stamp stamp;
    stamp.regular = ::stat(path.c_str(), &stamp.info) == 0 && S_ISREG(stamp.info.st_mode);
    return stamp;
}

const FlatDocument* ParsedFileCache::Find(const std::string& path, const Stamp& now) const {
    if (!entries_) return nullptr;
    auto found = entries_->find(std::string_view(path));
    if (found == entries_->end() || !SameFile(found->second.stamp, now)) return nullptr;
    return &found->second.parsed;
}

void ParsedFileCache::Keep(const std::string& path, const Stamp& before,
                           const TiXmlDocument& parsed) {
    if (!before.regular) return;
    if (!entries_) {
        memory_ = std::make_unique<std::pmr::monotonic_buffer_resource>(kFirstBlockBytes);
        entries_ = std::make_unique<Entries>(memory_.get());
    }
    if (auto found = entries_->find(std::string_view(path)); found != entries_->end())
        entries_->erase(found);
    entries_->emplace(std::piecewise_construct, std::forward_as_tuple(path),
                      std::forward_as_tuple(Entry{before, FlatDocument(parsed, memory_.get())}));
}

void ParsedFileCache::Clear() {
    // The entries first: they live in the blocks.
    entries_.reset();
    memory_.reset();
}

}  // namespace Pym
