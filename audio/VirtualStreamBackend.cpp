#include "audio/VirtualStreamBackend.h"

#include <algorithm>

namespace {
constexpr int kNotInitialized = -10000;
constexpr int kStreamIsNotStopped = -9982;
}  // namespace

VirtualStreamBackend::~VirtualStreamBackend() {
    for (VirtualStream* stream : streams_) stream->device_ = nullptr;
}

int VirtualStreamBackend::Initialize() {
    ++initializations;
    return initializeResult;
}

int VirtualStreamBackend::Terminate() {
    ++terminations;
    return 0;
}

int VirtualStreamBackend::Open(const StreamParameters& parameters, DeviceClient& client,
                               std::unique_ptr<DeviceStream>& stream) {
    ++opens;
    if (initializeResult != 0) return kNotInitialized;
    if (openResult != 0) return openResult;
    if (parameters.inputChannels > 0 && inputOpenResult != 0) return inputOpenResult;
    stream = std::make_unique<VirtualStream>(*this, parameters, client);
    return 0;
}

VirtualStream* VirtualStreamBackend::OutputStream() const {
    for (auto it = streams_.rbegin(); it != streams_.rend(); ++it)
        if ((*it)->Parameters().outputChannels > 0) return *it;
    return nullptr;
}

VirtualStream* VirtualStreamBackend::InputStream() const {
    for (auto it = streams_.rbegin(); it != streams_.rend(); ++it)
        if ((*it)->Parameters().inputChannels > 0) return *it;
    return nullptr;
}

VirtualStream::VirtualStream(VirtualStreamBackend& device, const StreamParameters& parameters,
                             DeviceClient& client)
    : device_(&device), parameters_(parameters), client_(client) {
    device.streams_.push_back(this);
}

VirtualStream::~VirtualStream() {
    Close();
    if (device_) std::erase(device_->streams_, this);
}

int VirtualStream::Start() {
    if (closed_) return kBadStreamPtr;
    if (active_) return kStreamIsNotStopped;
    history_.push_back("start");
    active_ = true;
    return 0;
}

int VirtualStream::Stop() {
    history_.push_back("stop");
    active_ = false;
    return 0;
}

int VirtualStream::Abort() {
    history_.push_back("abort");
    active_ = false;
    return 0;
}

int VirtualStream::Close() {
    if (closed_) return 0;
    history_.push_back("close");
    closed_ = true;
    active_ = false;
    return 0;
}

int VirtualStream::IsActive() {
    return active_ ? 1 : 0;
}

std::vector<float> VirtualStream::Clock(unsigned long frames, const float* input) {
    std::vector<float> played(frames * static_cast<unsigned long>(parameters_.outputChannels));
    std::vector<float> silence;
    if (!input && parameters_.inputChannels > 0) {
        silence.assign(frames * static_cast<unsigned long>(parameters_.inputChannels), 0.0f);
        input = silence.data();
    }
    ClockInto(frames, input, played.data());
    return played;
}

void VirtualStream::ClockInto(unsigned long frames, const float* input, float* output) {
    if (!active_) return;
    const double heardAt = Now() + OutputLatencyFrames() / parameters_.sampleRate;
    if (client_.Process(input, output, frames, heardAt) != 0) active_ = false;
}
