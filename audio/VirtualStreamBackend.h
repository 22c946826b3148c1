#pragma once

#include <string>
#include <vector>

#include "audio/StreamBackend.h"

class VirtualStream;

// A sound device for tests: nothing plays by itself. The test clocks a stream by hand, feeds
// its input and reads what it played. Failures can be scripted.
class VirtualStreamBackend : public StreamBackend {
public:
    VirtualStreamBackend() = default;
    ~VirtualStreamBackend() override;

    int Initialize() override;
    int Terminate() override;
    int Open(const StreamParameters& parameters, DeviceClient& client,
             std::unique_ptr<DeviceStream>& stream) override;

    // The open stream with output (or input) channels that was opened last, or null.
    VirtualStream* OutputStream() const;
    VirtualStream* InputStream() const;

    double latencyFrames = 0;  // the output latency its streams report
    // The streams' clock, set by the test: a block clocked now is heard `latencyFrames` later.
    double clockSeconds = 0;
    int initializeResult = 0;
    int openResult = 0;       // non-zero: the device refuses to open with this code
    int inputOpenResult = 0;  // the same for input streams only
    int initializations = 0;
    int terminations = 0;
    int opens = 0;

private:
    friend class VirtualStream;
    std::vector<VirtualStream*> streams_;
};

class VirtualStream : public DeviceStream {
public:
    VirtualStream(VirtualStreamBackend& device, const StreamParameters& parameters,
                  DeviceClient& client);
    ~VirtualStream() override;

    int Start() override;
    int Stop() override;
    int Abort() override;
    int Close() override;
    int IsActive() override;
    double OutputLatencyFrames() override { return device_ ? device_->latencyFrames : 0.0; }
    double Now() override { return device_ ? device_->clockSeconds : kNoStreamTime; }

    // One device period: hands `frames` frames of `input` (silence when null) to the client
    // and returns what it played. Nothing happens while the stream is stopped.
    std::vector<float> Clock(unsigned long frames, const float* input = nullptr);
    // The same into caller-owned buffers; allocates nothing.
    void ClockInto(unsigned long frames, const float* input, float* output);

    const StreamParameters& Parameters() const { return parameters_; }
    // "start", "stop", "abort", "close": what was done to the stream, in order.
    const std::vector<std::string>& History() const { return history_; }

private:
    friend class VirtualStreamBackend;
    VirtualStreamBackend* device_;
    StreamParameters parameters_;
    DeviceClient& client_;
    bool active_ = false;
    bool closed_ = false;
    std::vector<std::string> history_;
};
