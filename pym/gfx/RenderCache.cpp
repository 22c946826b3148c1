#include "pym/gfx/RenderCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "pym/base/RegularFile.h"

namespace Pym::Gfx {

namespace {

namespace fs = std::filesystem;

constexpr char kMagic[8] = {'O', 'N', 'D', 'R', 'P', 'X', '1', '\n'};
// Past this the folder is trimmed, oldest entries first, to the second size.
constexpr std::uintmax_t kMostBytes = 48u << 20;
constexpr std::uintmax_t kTrimmedBytes = 24u << 20;
constexpr std::uintmax_t kMostBytesPerRun = 16u << 20;
constexpr long kMostPixels = 16L * 1024 * 1024;

struct Header {
    char magic[8];
    std::uint32_t width;  // of the pixels that follow; 0 for a mark
    std::uint32_t height;
    std::uint64_t length;  // of the picture's bytes
    std::uint32_t pathBytes;
    std::uint32_t unused;
};

fs::path& Folder() {
    static fs::path folder;
    return folder;
}

std::uintmax_t& WrittenThisRun() {
    static std::uintmax_t written = 0;
    return written;
}

std::string Name(const RenderCache::Key& key) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(key.hash));
    return hex;
}

fs::path EntryPath(const RenderCache::Key& key, int width, int height) {
    return Folder() /
           (Name(key) + "-" + std::to_string(width) + "x" + std::to_string(height) + ".argb");
}

fs::path MarkPath(const RenderCache::Key& key) {
    return Folder() / (Name(key) + ".ok");
}

// Opens an entry and reads its header; -1 unless it is a regular file of exactly the size its
// header gives, made for this key.
int OpenEntry(const fs::path& file, const RenderCache::Key& key, Header& header) {
    int fd = OpenRegularFile(file.string());
    if (fd < 0) return -1;
    struct stat status {};
    std::string path(key.path.size(), '\0');
    bool good = fstat(fd, &status) == 0 && ReadExactly(fd, &header, sizeof header) &&
                std::memcmp(header.magic, kMagic, sizeof kMagic) == 0 &&
                header.length == key.length && header.pathBytes == key.path.size() &&
                static_cast<long>(header.width) * header.height <= kMostPixels &&
                ReadExactly(fd, path.data(), path.size()) && path == key.path &&
                static_cast<std::uint64_t>(status.st_size) ==
                    sizeof header + path.size() + std::uint64_t{header.width} * header.height * 4;
    if (good) return fd;
    close(fd);
    return -1;
}

// Writes beside the entry and renames it into place: a reader never sees half an entry.
void WriteEntry(const fs::path& file, const RenderCache::Key& key, const Image* image) {
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.length = key.length;
    header.pathBytes = static_cast<std::uint32_t>(key.path.size());
    if (image) {
        header.width = static_cast<std::uint32_t>(image->Width());
        header.height = static_cast<std::uint32_t>(image->Height());
    }
    const fs::path part = file.string() + ".part" + std::to_string(getpid());
    int fd = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    bool good = WriteExactly(fd, &header, sizeof header) &&
                WriteExactly(fd, key.path.data(), key.path.size());
    if (good && image) {
        cairo_surface_t* surface = image->Surface();
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (std::uint32_t y = 0; good && y < header.height; ++y)
            good = WriteExactly(fd, data + static_cast<std::size_t>(y) * stride,
                                std::size_t{header.width} * 4);
    }
    good = close(fd) == 0 && good;
    std::error_code error;
    if (good) fs::rename(part, file, error);
    if (!good || error) fs::remove(part, error);
}

void Trim(const fs::path& folder) {
    struct Entry {
        fs::path path;
        fs::file_time_type written;
        std::uintmax_t bytes;
    };
    std::vector<Entry> entries;
    std::uintmax_t total = 0;
    std::error_code error;
    for (const fs::directory_entry& item : fs::directory_iterator(folder, error)) {
        if (!item.is_regular_file(error)) continue;
        Entry entry{item.path(), item.last_write_time(error), item.file_size(error)};
        if (error) continue;
        total += entry.bytes;
        entries.push_back(std::move(entry));
    }
    if (total <= kMostBytes) return;
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.written < b.written; });
    for (const Entry& entry : entries) {
        if (total <= kTrimmedBytes) break;
        if (fs::remove(entry.path, error)) total -= entry.bytes;
    }
}

}  // namespace

void RenderCache::SetFolder(const fs::path& folder) {
    Folder() = folder;
    WrittenThisRun() = 0;
    if (!folder.empty()) Trim(folder);
}

bool RenderCache::Enabled() {
    return !Folder().empty();
}

RenderCache::Key RenderCache::KeyOf(const std::string& bytes, const std::string& path,
                                    const std::string& salt) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    auto mix = [&hash](const std::string& text) {
        for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
        hash = (hash ^ 0xff) * 1099511628211ull;
    };
    mix(salt);
    mix(path);
    mix(bytes);
    return Key{hash, bytes.size(), path};
}

bool RenderCache::KnownGood(const Key& key) {
    if (!Enabled()) return false;
    Header header{};
    int fd = OpenEntry(MarkPath(key), key, header);
    if (fd < 0) return false;
    close(fd);
    return header.width == 0 && header.height == 0;
}

void RenderCache::MarkGood(const Key& key) {
    if (Enabled()) WriteEntry(MarkPath(key), key, nullptr);
}

ImagePtr RenderCache::Find(const Key& key, int width, int height) {
    if (!Enabled()) return nullptr;
    Header header{};
    int fd = OpenEntry(EntryPath(key, width, height), key, header);
    if (fd < 0) return nullptr;
    ImagePtr image;
    if (header.width > 0 && header.height > 0) {
        const int w = static_cast<int>(header.width), h = static_cast<int>(header.height);
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        bool good = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
        if (good) {
            cairo_surface_flush(surface);
            unsigned char* data = cairo_image_surface_get_data(surface);
            const int stride = cairo_image_surface_get_stride(surface);
            for (int y = 0; good && y < h; ++y)
                good = ReadExactly(fd, data + static_cast<std::size_t>(y) * stride,
                                   static_cast<std::size_t>(w) * 4);
            cairo_surface_mark_dirty(surface);
        }
        if (good)
            image = std::make_shared<Image>(surface, /*vector=*/true);
        else
            cairo_surface_destroy(surface);
    }
    close(fd);
    return image;
}

void RenderCache::Store(const Key& key, int width, int height, const Image& image) {
    const std::uintmax_t bytes = std::uintmax_t{4} * image.Width() * image.Height();
    if (!Enabled() || bytes > kMostPixels * 4 || WrittenThisRun() + bytes > kMostBytesPerRun)
        return;
    WrittenThisRun() += bytes;
    WriteEntry(EntryPath(key, width, height), key, &image);
}

}  // namespace Pym::Gfx
