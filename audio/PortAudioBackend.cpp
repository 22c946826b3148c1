#include "audio/PortAudioBackend.h"

#include <alsa/asoundlib.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>

#include "audio/AlsaDiagnostics.h"
#include "audio/PortAudioLibrary.h"
#include "audio/RealtimeSafe.h"
#include "pym/base/Singleton.h"
#include "pym/base/Trace.h"

namespace {

// Points standard error at /dev/null for the lifetime of the object.
class SilencedStandardError {
public:
    SilencedStandardError() {
        fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    ~SilencedStandardError() {
        fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    SilencedStandardError(const SilencedStandardError&) = delete;
    SilencedStandardError& operator=(const SilencedStandardError&) = delete;

private:
    int saved_ = -1;
};

// The sound server wakes for a client's stream as often as the stream's buffer drains by a
// block. Blocks of 93 ms in a 200 ms buffer: on the rig, playing adds about 57 wakeups a second
// to the server instead of 124 with 46 ms blocks in 100 ms, and the program wakes about 80 times
// a second less, while Play still reaches the first sample in the same 8-15 ms and the first
// click is heard as soon (the buffer is filled at once at a start, and a stop drops it).
constexpr double kOutputLatency = 0.2;        // seconds
constexpr unsigned long kOutputBlock = 4096;  // frames
// Silence played at every start before the client's first frame: the sound server drops the
// first few hundred frames of a started stream (274 on the rig), which cut the first click's
// attack. The client's clock starts after it, so nothing it shows moves.
constexpr unsigned long kStartLead = 1024;  // frames
// The input's buffer, at least. The host reads it in quarters: with the sound server's usual
// 35 ms the program woke about 330 times a second to take 9 ms pieces, and the server's client
// thread 700 times. Quarters of 200 ms (the rig's sound server hands them over every 60 ms or
// so) wake the device thread about 55 times a second, against 85 with 100 ms; the tuner reads
// out as each piece arrives (a median of 173-200 ms from a note change on the rig).
constexpr double kInputLatency = 0.2;  // seconds
// The stream's clock is read through the sound server (a status query of ALSA's plugin); the
// displays ask it several times a refresh. A reading serves this long, moved on by the steady
// clock: both run at one second a second.
constexpr std::chrono::milliseconds kClockReuse{5};

class PortAudioStream : public DeviceStream {
public:
    PortAudioStream(DeviceClient& client, const PortAudioLibrary& pa) : client_(client), pa_(pa) {}
    ~PortAudioStream() override { Close(); }

    int OpenOn(const StreamParameters& p) {
        PaStreamParameters in{}, out{};
        PaStreamParameters* inPtr = nullptr;
        PaStreamParameters* outPtr = nullptr;
        if (p.inputChannels > 0) {
            in.device = pa_.defaultInputDevice();
            if (in.device == paNoDevice) return paDeviceUnavailable;
            in.channelCount = p.inputChannels;
            in.sampleFormat = paFloat32;
            in.suggestedLatency =
                std::max(pa_.deviceInfo(in.device)->defaultHighInputLatency, kInputLatency);
            inPtr = &in;
        }
        if (p.outputChannels > 0) {
            out.device = pa_.defaultOutputDevice();
            if (out.device == paNoDevice) return paDeviceUnavailable;
            out.channelCount = p.outputChannels;
            out.sampleFormat = paFloat32;
            // Bars loop from memory and a stop drops what is queued, so a deep buffer only delays
            // the first click of a start; it rides out stalls of a loaded machine that a sound
            // server's usual 35 ms would turn into audible gaps.
            out.suggestedLatency =
                std::max(pa_.deviceInfo(out.device)->defaultHighOutputLatency, kOutputLatency);
            outPtr = &out;
        }
        inputChannels_ = inPtr ? p.inputChannels : 0;
        outputChannels_ = outPtr ? p.outputChannels : 0;
        sampleRate_ = p.sampleRate > 0.0 ? p.sampleRate : sampleRate_;
        const unsigned long block = outPtr ? kOutputBlock : paFramesPerBufferUnspecified;
        int result = pa_.openStream(&stream_, inPtr, outPtr, p.sampleRate, block, paNoFlag,
                                    &PortAudioStream::Callback, this);
        if (result == paNoError && inPtr && !outPtr) HoldInput();
        return result;
    }

    int Start() override {
        if (!stream_) return paBadStreamPtr;
        clockRead_ = 0.0;
        lead_ = outputChannels_ > 0 ? kStartLead : 0;
        return pa_.startStream(stream_);
    }
    int Stop() override { return stream_ ? pa_.stopStream(stream_) : paBadStreamPtr; }
    int Abort() override { return stream_ ? pa_.abortStream(stream_) : paBadStreamPtr; }
    int IsActive() override { return stream_ ? pa_.isStreamActive(stream_) : paBadStreamPtr; }
    double Now() override {
        const auto at = std::chrono::steady_clock::now();
        if (clockRead_ > 0.0 && at - clockReadAt_ < kClockReuse)
            return clockRead_ + std::chrono::duration<double>(at - clockReadAt_).count();
        const double now = stream_ ? pa_.streamTime(stream_) : 0.0;
        clockRead_ = now;
        clockReadAt_ = at;
        return now > 0.0 ? now : kNoStreamTime;
    }
    double OutputLatencyFrames() override {
        const PaStreamInfo* info = stream_ ? pa_.streamInfo(stream_) : nullptr;
        return info ? info->outputLatency * info->sampleRate : 0.0;
    }
    int Close() override {
        clockRead_ = 0.0;
        if (!stream_) return paNoError;
        int result = pa_.closeStream(stream_);
        stream_ = nullptr;
        return result;
    }

private:
    // A sound server (PulseAudio's ALSA plugin) feeds an opened capture stream until it is first
    // stopped, waking the program for every block while nobody listens. Started and stopped once,
    // the stream stays open and the server holds the input until the stream is started for real.
    // The client sees nothing of it.
    void HoldInput() {
        priming_ = true;
        if (pa_.startStream(stream_) == paNoError) pa_.stopStream(stream_);
        priming_ = false;
    }

    static int Callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags,
                        void* self) ONDREL_NONBLOCKING {
        auto& stream = *static_cast<PortAudioStream*>(self);
        if (stream.priming_) return paContinue;
        // A host that keeps no clock reports 0.
        double heardAt =
            time && time->outputBufferDacTime > 0.0 ? time->outputBufferDacTime : kNoStreamTime;
        const auto* in = static_cast<const float*>(input);
        auto* out = static_cast<float*>(output);
        if (const unsigned long lead = stream.lead_.load(std::memory_order_relaxed); lead && out) {
            const unsigned long silent = std::min(lead, frames);
            std::fill(out, out + silent * static_cast<unsigned long>(stream.outputChannels_), 0.0f);
            stream.lead_.store(lead - silent, std::memory_order_relaxed);
            if (silent == frames) return paContinue;
            out += silent * static_cast<unsigned long>(stream.outputChannels_);
            if (in) in += silent * static_cast<unsigned long>(stream.inputChannels_);
            frames -= silent;
            // The client's first frame follows the silence.
            if (heardAt != kNoStreamTime)
                heardAt += static_cast<double>(silent) / stream.sampleRate_;
        }
        int result = stream.client_.Process(in, out, frames, heardAt);
        return result == 0 ? paContinue : paComplete;
    }

    DeviceClient& client_;
    const PortAudioLibrary& pa_;
    PaStream* stream_ = nullptr;
    std::atomic<bool> priming_{false};
    int inputChannels_ = 0, outputChannels_ = 0;
    double sampleRate_ = 44100.0;
    std::atomic<unsigned long> lead_{0};  // frames of silence still to play before the client's
    double clockRead_ = 0.0;              // the stream's clock at clockReadAt_, 0 for none
    std::chrono::steady_clock::time_point clockReadAt_;
};

}  // namespace

PortAudioBackend::PortAudioBackend() {
    // A JACK client must never start a server of its own for us.
    setenv("JACK_NO_START_SERVER", "1", 0);
    RouteAlsaMessagesToTrace();
}

int PortAudioBackend::Initialize() {
    const PortAudioLibrary* pa = PortAudioLibrary::Get();
    if (!pa) return paNotInitialized;
    SilencedStandardError quiet;
    const int result = pa->initialize();
    // Listing the devices opened every PCM that ALSA's configuration names, and ALSA keeps
    // each plugin loaded (the AC-3 encoder brings a video codec library with it: about 6 MB
    // resident) until its configuration is released. No PCM is open now; the stream opened
    // later loads only its own plugin again.
    snd_config_update_free_global();
    return result;
}

int PortAudioBackend::Terminate() {
    const PortAudioLibrary* pa = PortAudioLibrary::Get();
    if (!pa) return paNotInitialized;
    SilencedStandardError quiet;
    return pa->terminate();
}

int PortAudioBackend::Open(const StreamParameters& parameters, DeviceClient& client,
                           std::unique_ptr<DeviceStream>& stream) {
    const PortAudioLibrary* pa = PortAudioLibrary::Get();
    if (!pa) return paNotInitialized;
    auto opened = std::make_unique<PortAudioStream>(client, *pa);
    int result = opened->OpenOn(parameters);
    if (result == paNoError) stream = std::move(opened);
    return result;
}

PortAudioBackend& DllPortAudioBackendInstance() {
    return Pym::Singleton<PortAudioBackend>::Instance();
}
