#pragma once

#include <string>

namespace Platform {

// X11's input method parses the locale's whole compose table (half a megabyte of text) each
// time a program opens its keyboard: about 9 ms and 470 KB of heap at every start. Given a
// folder of its own, libX11 writes the parsed table there once and maps it read-only at later
// starts. It uses ~/.compose-cache when that exists; it never caches for root, for whom the
// folder stays unused.
class ComposeCache {
public:
    // Points XCOMPOSECACHE at the program's cache folder (made if missing) unless the user
    // already chose a place. Call before the video subsystem opens. Returns the folder used,
    // or empty when it left things as they were.
    static std::string UseProgramFolder(const std::string& programName);
};

}  // namespace Platform
