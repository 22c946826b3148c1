#include "audio/AudioSystem.h"

#include <algorithm>
#include <cmath>

#include "audio/AlsaDiagnostics.h"
#include "pym/base/Singleton.h"

namespace {
constexpr int kScopeBlock = 512;
// Input buffers are reduced in pieces of this many frames, so no buffer size allocates.
constexpr int kReductionChunk = 4096;
}  // namespace

AudioSystem::AudioSystem()
    : out_(kSampleRate, 0, false),
      // The input opens when somebody listens (see StartInput).
      in_(kSampleRate, kInputFrames, false),
      // Both stores exist before any callback runs, and outlive this object.
      scope_(DllScopeBufferInstance()),
      analysis_(DllAnalysisFrameInstance()),
      blocks_(kScopeBlock, [this](const float* s, int n) { scope_.Deliver(s, n); }),
      decimator_(kReduction, kSampleRate, Decimator::kTunerCutoffHz),
      reduced_(kReductionChunk / kReduction + 1) {
    in_.SetCallback(AnalysisCallback(), nullptr);
}

AudioSystem::~AudioSystem() {
    CloseStreams();
}

void AudioSystem::CloseStreams() {
    if (out_.IsOpen()) {
        out_.Stop();
        out_.Close();
    }
    if (in_.IsOpen()) {
        in_.Stop();
        in_.Close();
    }
    ReportDiagnostics();
}

void AudioSystem::ReportDiagnostics() {
    ReportAlsaMessages();
}

StreamCallback AudioSystem::AnalysisCallback() {
    return [this](void* input, void* output, unsigned long frames, double outTime, void* userData) {
        return ProcessInput(input, output, frames, outTime, userData);
    };
}

int AudioSystem::RestartInput(int sampleRate, int framesPerBuffer, StreamCallback callback,
                              void* userData) {
    in_.Close();
    int result = in_.OpenDefault(sampleRate, static_cast<unsigned long>(framesPerBuffer));
    if (result != kStreamNoError) return result;
    in_.SetCallback(std::move(callback), userData);
    return in_.Start(false);
}

int AudioSystem::RestartOutputWith(bool loop, int sampleRate, int framesPerBuffer,
                                   StreamCallback callback, void* userData) {
    out_.Stop();
    out_.Close();
    // A failed open keeps its own code: starting a stream that is not there would hide it.
    int result = out_.OpenDefault(sampleRate, static_cast<unsigned long>(framesPerBuffer));
    if (result != kStreamNoError) return result;
    out_.SetCallback(std::move(callback), userData);
    return out_.Start(loop);
}

int AudioSystem::RestartOutput(int sampleRate, int framesPerBuffer, StreamCallback callback,
                               void* userData) {
    return RestartOutputWith(false, sampleRate, framesPerBuffer, std::move(callback), userData);
}

int AudioSystem::RestartOutputLooped(int sampleRate, int framesPerBuffer, StreamCallback callback,
                                     void* userData) {
    return RestartOutputWith(true, sampleRate, framesPerBuffer, std::move(callback), userData);
}

int AudioSystem::RestoreInputAnalysis() {
    in_.Stop();
    in_.SetCallback(AnalysisCallback(), nullptr);
    analysis_.Restart();
    if (!in_.IsOpen()) {
        const int result = in_.OpenDefault(kSampleRate, kInputFrames);
        if (result != kStreamNoError) return result;
    }
    return in_.Start(false);
}

void AudioSystem::PrepareDevices() {
    out_.Prepare();
    in_.Prepare();
}

void AudioSystem::StopOutput() {
    out_.Stop();
    ReportDiagnostics();
}
void AudioSystem::StopInput() {
    // A stopped input is closed, not only stopped: the sound server then lists no recording
    // of the program, and the desktop shows no microphone in use.
    in_.Stop();
    in_.Close();
    ReportDiagnostics();
}
void AudioSystem::StartInput() {
    if (!in_.IsOpen()) {
        // A new listening starts from silence, not from what was heard before the last stop.
        analysis_.Restart();
        if (in_.OpenDefault(kSampleRate, kInputFrames) != kStreamNoError) return;
    }
    in_.Start(false);
}

bool AudioSystem::IsOutputActive() {
    return out_.IsActive();
}

double AudioSystem::OutputTime() const {
    if (out_.LastError() != kStreamNoError) return 0.0;
    return out_.GetStreamTime() * (1.0 / kSampleRate);
}

double AudioSystem::SoundingTime() const {
    if (out_.LastError() != kStreamNoError) return 0.0;
    return out_.SoundingFrames() * (1.0 / kSampleRate);
}

float AudioSystem::OutputPhase(double position, double period) {
    // A period of 0 has no phase; NaN would reach the displays.
    if (!IsOutputActive() || position == 0.0 || !(period > 0.0) || !std::isfinite(period) ||
        !std::isfinite(position))
        return 1.0f;
    // In double: after an hour of playing a float position is a quarter of a millisecond coarse.
    double phase = std::fmod(position, period) / period;
    if (phase < 0.0) phase += 1.0;
    return std::min(static_cast<float>(phase), std::nextafter(1.0f, 0.0f));
}

int AudioSystem::ProcessInput(void* input, void*, unsigned long frames, double, void*) noexcept {
    if (!input) return 0;
    const float* samples = static_cast<const float*>(input);
    unsigned long done = 0;
    int reduced = 0;
    while (done < frames) {
        int n = static_cast<int>(
            std::min<unsigned long>(frames - done, static_cast<unsigned long>(kReductionChunk)));
        int count = decimator_.Process(samples + done, n, reduced_.data());
        blocks_.Push(reduced_.data(), count);
        analysis_.Deliver(reduced_.data(), count);
        reduced += count;
        done += static_cast<unsigned long>(n);
    }
    analysis_.EndCallback(reduced);
    return 0;
}

VolumeControl& AudioSystem::Mixer() {
    if (!mixer_) mixer_ = std::make_unique<VolumeControl>(MakeAlsaMixerBackend());
    return *mixer_;
}

void AudioSystem::UseMixerBackend(std::unique_ptr<MixerBackend> backend) {
    mixer_ = std::make_unique<VolumeControl>(std::move(backend));
}

AudioSystem& DllAudioSystemInstance() {
    return Pym::Singleton<AudioSystem>::Instance();
}
