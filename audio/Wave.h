#pragma once

#include <memory>

#include "audio/CallbackPool.h"
#include "audio/StreamAdapter.h"
#include "audio/StreamBackend.h"

// One audio stream on the default device: 32-bit float samples. Every operation stores its
// result code in LastError() and returns it; nothing throws.
class Wave {
public:
    virtual ~Wave();
    Wave(const Wave&) = delete;
    Wave& operator=(const Wave&) = delete;

    virtual int Stop();
    virtual int Open(int inputChannels, int outputChannels, unsigned long sampleFormat,
                     double sampleRate, unsigned long framesPerBuffer,
                     unsigned long numberOfBuffers);
    virtual int OpenDefault(double sampleRate, unsigned long framesPerBuffer) = 0;
    // Initialises the device layer, which the first open does otherwise. PortAudio lists every
    // device then (about 80 ms), so a program does it once its window shows.
    int Prepare();

    // A looped start renders one user buffer and plays it over and over until stopped; an
    // input ignores the flag.
    int Start(bool loop);
    bool IsActive();
    bool Close();
    // Only while the stream is stopped. A null `userData` keeps the current one.
    void SetCallback(StreamCallback callback, void* userData);
    // Frames played (or recorded) since the last start, the device's latency taken off.
    double GetStreamTime() const;
    // While a looped start plays: the loop to change to at a wrap (see StreamAdapter).
    void QueueLoop(const std::vector<float>& samples, unsigned long long atWrap, int tag = 0) {
        adapter_.QueueLoop(samples, atWrap, tag);
    }
    void TagLoop(int tag) { adapter_.TagLoop(tag); }
    LoopSpan LoopAt(double frame) const { return adapter_.LoopAt(frame); }
    const std::vector<float>& Loop() const { return adapter_.Loop(); }
    bool LoopQueued() const { return adapter_.LoopQueued(); }
    unsigned long long LoopWraps() const { return adapter_.Wraps(); }
    // Frames of the output heard by now: from the stream's clock, so it moves on between the
    // device's blocks; where the device keeps no clock, GetStreamTime.
    double SoundingFrames() const;
    // The stream's own clock in seconds (kNoStreamTime when it has none or is not open).
    double StreamClock() const;
    const SoundingClock& Sounding() const { return adapter_.Sounding(); }

    int LastError() const { return lastError_; }
    bool IsOpen() const { return stream_ != nullptr; }
    bool HasEntryPoint() const { return portCallback_ != nullptr; }

protected:
    explicit Wave(StreamBackend& backend);
    int Store(int result) { return lastError_ = result; }
    DeviceStream* Stream() { return stream_.get(); }

private:
    StreamBackend& backend_;
    std::unique_ptr<DeviceStream> stream_;
    StreamAdapter adapter_;
    int outputChannels_ = 0;
    double sampleRate_ = 0.0;
    int lastError_ = 0;
    bool prepared_ = false;
    PortAudioCallback portCallback_ = nullptr;
    StreamCallback callback_;
    void* userData_ = this;
};

// The output stream. Stop discards what is queued at once.
class WaveOut : public Wave {
public:
    WaveOut(double sampleRate, unsigned long framesPerBuffer, bool openNow,
            StreamBackend& backend = SelectedStreamBackend());
    int Stop() override;
    int OpenDefault(double sampleRate, unsigned long framesPerBuffer) override;
};

// The input stream, opened when built. Stop lets the buffer under way finish.
class WaveIn : public Wave {
public:
    WaveIn(double sampleRate, unsigned long framesPerBuffer, bool openNow = true,
           StreamBackend& backend = SelectedStreamBackend());
    int OpenDefault(double sampleRate, unsigned long framesPerBuffer) override;
};
