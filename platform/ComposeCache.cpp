#include "platform/ComposeCache.h"

#include <cstdlib>
#include <filesystem>

namespace Platform {

namespace fs = std::filesystem;

std::string ComposeCache::UseProgramFolder(const std::string& programName) {
    if (getenv("XCOMPOSECACHE")) return {};
    const char* home = getenv("HOME");
    if (!home || !*home) return {};
    std::error_code error;
    if (fs::is_directory(fs::path(home) / ".compose-cache", error)) return {};

    const char* xdg = getenv("XDG_CACHE_HOME");
    fs::path root = xdg && *xdg == '/' ? fs::path(xdg) : fs::path(home) / ".cache";
    fs::path folder = root / programName / "compose";
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) return {};
    fs::permissions(folder, fs::perms::owner_all, error);
    setenv("XCOMPOSECACHE", folder.c_str(), 1);
    return folder.string();
}

}  // namespace Platform
