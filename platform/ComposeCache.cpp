#include "platform/ComposeCache.h"

#include <cstdlib>
#include <filesystem>

#include "platform/CacheFolder.h"

namespace Platform {

namespace fs = std::filesystem;

std::string ComposeCache::UseProgramFolder(const std::string& programName) {
    if (getenv("XCOMPOSECACHE")) return {};
    const char* home = getenv("HOME");
    std::error_code error;
    if (home && *home && fs::is_directory(fs::path(home) / ".compose-cache", error)) return {};
    const fs::path folder = CacheFolder(programName, "compose");
    if (folder.empty()) return {};
    setenv("XCOMPOSECACHE", folder.c_str(), 1);
    return folder.string();
}

}  // namespace Platform
