#include "audio/StreamBackend.h"

#include "audio/PortAudioBackend.h"

namespace {
StreamBackend* installed = nullptr;
}

StreamBackend& SelectedStreamBackend() {
    if (installed) return *installed;
    return DllPortAudioBackendInstance();
}

void UseStreamBackend(StreamBackend* backend) {
    installed = backend;
}
