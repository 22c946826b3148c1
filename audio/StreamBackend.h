#pragma once

#include <limits>
#include <memory>

// The seam between the Wave streams and a sound device. The program runs on the PortAudio
// backend; tests install a virtual device that they clock by hand.

// Result codes of the stream layer itself; every other code is the backend's own.
constexpr int kStreamNoError = 0;
constexpr int kNullCallback = -9990;  // a Wave without an entry point cannot open
constexpr int kBadStreamPtr = -9988;  // an operation on a stream that is not open
constexpr int kSampleFormatNotSupported = -9994;

constexpr unsigned long kFloat32 = 0x1;  // the only sample format the streams carry

// A time on a stream's clock (seconds) that the device does not know.
constexpr double kNoStreamTime = std::numeric_limits<double>::quiet_NaN();

struct StreamParameters {
    int inputChannels = 0;
    int outputChannels = 0;
    double sampleRate = 44100.0;
};

// Receives the device's buffers on the device thread, in whatever block size the device
// chooses, with the time on the stream's clock at which the block's first output frame will be
// heard (kNoStreamTime when the device cannot tell). Returns 0 to keep the stream running.
class DeviceClient {
public:
    virtual ~DeviceClient() = default;
    virtual int Process(const float* input, float* output, unsigned long frames,
                        double heardAt) = 0;
};

// One open device stream. Destroying it closes it.
class DeviceStream {
public:
    virtual ~DeviceStream() = default;
    virtual int Start() = 0;
    virtual int Stop() = 0;   // lets queued buffers play out
    virtual int Abort() = 0;  // discards queued buffers at once
    virtual int Close() = 0;
    virtual int IsActive() = 0;  // 1 running, 0 stopped, negative on error
    // Frames between handing a sample to the device and hearing it.
    virtual double OutputLatencyFrames() { return 0.0; }
    // The stream's own clock, in seconds, as the device thread's block times give it;
    // kNoStreamTime when the device has none.
    virtual double Now() { return kNoStreamTime; }
};

class StreamBackend {
public:
    virtual ~StreamBackend() = default;
    virtual int Initialize() = 0;
    virtual int Terminate() = 0;
    // Opens a stream on the default devices. On failure `stream` stays empty.
    virtual int Open(const StreamParameters& parameters, DeviceClient& client,
                     std::unique_ptr<DeviceStream>& stream) = 0;
};

// The backend new Waves are built on: PortAudio unless a test installed another one.
StreamBackend& SelectedStreamBackend();
// Installs `backend` for Waves built from now on; null returns to PortAudio.
void UseStreamBackend(StreamBackend* backend);
