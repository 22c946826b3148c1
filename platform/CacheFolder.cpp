#include "platform/CacheFolder.h"

#include <cstdlib>

namespace Platform {

namespace fs = std::filesystem;

fs::path CacheFolder(const std::string& program, const std::string& purpose) {
    fs::path root;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/')
        root = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        root = fs::path(home) / ".cache";
    else
        return {};
    fs::path folder = root / program / purpose;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) return {};
    fs::permissions(folder, fs::perms::owner_all, error);
    return folder;
}

}  // namespace Platform
