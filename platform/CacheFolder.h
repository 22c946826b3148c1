#pragma once

#include <filesystem>
#include <string>

namespace Platform {

// The user's cache folder for one purpose of a program: $XDG_CACHE_HOME/<program>/<purpose>,
// else ~/.cache/<program>/<purpose>, made (readable by the user alone) if missing. Empty when
// there is no home or the folder cannot be made: callers then do without a cache.
std::filesystem::path CacheFolder(const std::string& program, const std::string& purpose);

}  // namespace Platform
