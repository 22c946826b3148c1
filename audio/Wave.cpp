#include "audio/Wave.h"

#include <algorithm>
#include <cmath>
#include <utility>

Wave::Wave(StreamBackend& backend) : backend_(backend) {
    portCallback_ = DllCallbackPoolInstance().Register(
        [this](void* input, void* output, unsigned long frames, double outTime, void* userData) {
            return callback_ ? callback_(input, output, frames, outTime, userData) : 0;
        });
}

Wave::~Wave() {
    // The owner closes the stream first; this only guards against a stream left open.
    stream_.reset();
    if (prepared_) Store(backend_.Terminate());
}

int Wave::Prepare() {
    if (prepared_) return kStreamNoError;
    const int result = backend_.Initialize();
    // A failed initialisation is tried again at the next open.
    prepared_ = result == kStreamNoError;
    return Store(result);
}

int Wave::Stop() {
    return Store(stream_ ? stream_->Stop() : kBadStreamPtr);
}

int Wave::Open(int inputChannels, int outputChannels, unsigned long sampleFormat, double sampleRate,
               unsigned long framesPerBuffer, unsigned long /*numberOfBuffers*/) {
    // PortAudio v19 sizes its device buffers itself, so the number of buffers has no say.
    if (!portCallback_) return Store(kNullCallback);
    if (sampleFormat != kFloat32) return Store(kSampleFormatNotSupported);
    if (const int result = Prepare(); result != kStreamNoError) return result;
    stream_.reset();
    outputChannels_ = outputChannels;
    sampleRate_ = sampleRate;
    adapter_.Configure(inputChannels, outputChannels, framesPerBuffer);
    adapter_.SetTarget(portCallback_, userData_);
    StreamParameters parameters{inputChannels, outputChannels, sampleRate};
    return Store(backend_.Open(parameters, adapter_, stream_));
}

int Wave::Start(bool loop) {
    if (!stream_) return Store(kBadStreamPtr);
    // A running stream keeps its buffers; the device refuses the second start itself.
    if (stream_->IsActive() == 1) return Store(stream_->Start());
    if (loop && outputChannels_ > 0)
        adapter_.PrimeLoop();
    else
        adapter_.Reset();
    return Store(stream_->Start());
}

bool Wave::IsActive() {
    if (!stream_) {
        Store(kBadStreamPtr);
        return false;
    }
    // Only a failure is an error; "running" must not read as one.
    int result = stream_->IsActive();
    Store(result < 0 ? result : kStreamNoError);
    return result == 1;
}

bool Wave::Close() {
    if (!stream_) return Store(kBadStreamPtr) == kStreamNoError;
    int result = stream_->Close();
    stream_.reset();
    return Store(result) == kStreamNoError;
}

void Wave::SetCallback(StreamCallback callback, void* userData) {
    callback_ = std::move(callback);
    if (userData) userData_ = userData;
    adapter_.SetTarget(portCallback_, userData_);
}

double Wave::GetStreamTime() const {
    // Frames heard, not frames handed over: the beat displays must not run ahead of the sound.
    double latency = stream_ ? stream_->OutputLatencyFrames() : 0.0;
    return std::max(0.0, adapter_.FramesProcessed() - latency);
}

double Wave::SoundingFrames() const {
    const double now = StreamClock();
    const SoundingClock& sounding = adapter_.Sounding();
    if (std::isnan(now) || !sounding.Stamped()) return GetStreamTime();
    return sounding.FramesAt(now, sampleRate_, adapter_.FramesProcessed());
}

double Wave::StreamClock() const {
    return stream_ ? stream_->Now() : kNoStreamTime;
}

WaveOut::WaveOut(double sampleRate, unsigned long framesPerBuffer, bool openNow,
                 StreamBackend& backend)
    : Wave(backend) {
    if (openNow) OpenDefault(sampleRate, framesPerBuffer);
}

int WaveOut::Stop() {
    return Store(Stream() ? Stream()->Abort() : kBadStreamPtr);
}

int WaveOut::OpenDefault(double sampleRate, unsigned long framesPerBuffer) {
    return Open(0, 1, kFloat32, sampleRate, framesPerBuffer, 0);
}

WaveIn::WaveIn(double sampleRate, unsigned long framesPerBuffer, bool openNow,
               StreamBackend& backend)
    : Wave(backend) {
    if (openNow) OpenDefault(sampleRate, framesPerBuffer);
}

int WaveIn::OpenDefault(double sampleRate, unsigned long framesPerBuffer) {
    return Open(1, 0, kFloat32, sampleRate, framesPerBuffer, 0);
}
