#pragma once

#include "audio/StreamBackend.h"

// Streams on PortAudio v19's default devices. PortAudio picks the device buffer size (a few
// milliseconds); the Wave layer cuts and joins those buffers into its own.
//
// Debian's PortAudio probes JACK and ALSA at every initialisation and both print to standard
// error on machines without them. ALSA's messages go to the trace hook instead, and standard
// error is closed for the duration of the probe, so a user's terminal stays clean.
class PortAudioBackend : public StreamBackend {
public:
    PortAudioBackend();
    int Initialize() override;
    int Terminate() override;
    int Open(const StreamParameters& parameters, DeviceClient& client,
             std::unique_ptr<DeviceStream>& stream) override;
};

PortAudioBackend& DllPortAudioBackendInstance();
