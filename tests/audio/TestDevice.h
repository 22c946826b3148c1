#pragma once

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
    return *device;
}

}  // namespace Testing
