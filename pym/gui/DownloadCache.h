#pragma once

#include <string>

namespace Pym {

// Where a picture fetched from the web is kept on disk. Every address maps to one plain file
// name inside the cache folder: no separators, no "." or "..", and two different addresses
// never share a file.
class DownloadCache {
public:
    // An address that has to be downloaded first ("http://" or "https://", any case).
    static bool IsWebAddress(const std::string& address);

    // The file name (without folder) kept for an address.
    static std::string FileName(const std::string& address);

    // The file in `folder` kept for an address.
    static std::string LocalPath(const std::string& folder, const std::string& address);

    // `folder` and `name` joined with one separator; an empty folder leaves the name alone.
    static std::string Join(const std::string& folder, const std::string& name);

    // Longer names are shortened and made unique by a digest of the address.
    static constexpr std::size_t kMaxNameLength = 160;
};

}  // namespace Pym
