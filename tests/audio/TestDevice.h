#pragma once

#include "audio/CallbackPool.h"
#include "audio/StreamBackend.h"
#include "audio/VirtualStreamBackend.h"

namespace Testing {

// The virtual sound device every Wave and the AudioSystem of a test process run on. It is
// installed on first use and lives as long as the process; tests reset its scripted failures.
inline VirtualStreamBackend& TestDevice() {
    static VirtualStreamBackend* device = [] {
        auto* d = new VirtualStreamBackend();
        UseStreamBackend(d);
        return d;
    }();
    device->initializeResult = 0;
    device->openResult = 0;
    device->latencyFrames = 0;
    return *device;
}

// A process has eight stream entry points in its life. ctest runs every test in a process of
// its own; a whole binary run in one process skips the tests that find too few left.
inline bool EntryPointsLeft(int needed) {
    return DllCallbackPoolInstance().Registered() + needed <= CallbackPool::kSize;
}

}  // namespace Testing
