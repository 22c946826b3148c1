#include "audio/StreamAdapter.h"

#include <algorithm>

namespace {
// What the library would pick for "let the library choose".
constexpr unsigned long kDefaultFramesPerBuffer = 256;
}  // namespace

void StreamAdapter::Configure(int inputChannels, int outputChannels,
                              unsigned long framesPerBuffer) {
    inputChannels_ = std::max(inputChannels, 0);
    outputChannels_ = std::max(outputChannels, 0);
    framesPerBuffer_ = framesPerBuffer > 0 ? framesPerBuffer : kDefaultFramesPerBuffer;
    input_.assign(framesPerBuffer_ * static_cast<unsigned long>(inputChannels_), 0.0f);
    output_.assign(framesPerBuffer_ * static_cast<unsigned long>(outputChannels_), 0.0f);
    Reset();
}

void StreamAdapter::SetTarget(PortAudioCallback callback, void* userData) {
    callback_ = callback;
    userData_ = userData;
}

void StreamAdapter::Reset() {
    looped_ = false;
    handOver_ = kEmpty;
    wraps_ = 0;
    switches_ = 0;
    spanStart_[0] = 0;
    spanTag_[0] = 0;
    finished_ = 0;
    processed_ = 0;
    bufferStart_ = 0;
    sounding_.Reset();
    // An output needs its first user buffer before it can play; an input first collects one.
    position_ = outputChannels_ > 0 ? framesPerBuffer_ : 0;
}

void StreamAdapter::PrimeLoop() {
    Reset();
    std::fill(input_.begin(), input_.end(), 0.0f);
    std::fill(output_.begin(), output_.end(), 0.0f);
    if (callback_)
        callback_(inputChannels_ > 0 ? input_.data() : nullptr, output_.data(), framesPerBuffer_,
                  0.0, userData_);
    looped_ = true;
    position_ = 0;
}

void StreamAdapter::QueueLoop(const std::vector<float>& samples, unsigned long long atWrap,
                              int tag) {
    // The device thread holds the slot only for a moment, at a wrap.
    for (int state = handOver_.load();; state = handOver_.load())
        if (state != kWriting && handOver_.compare_exchange_weak(state, kWriting)) break;
    pending_.assign(samples.begin(), samples.end());
    pendingAt_ = atWrap;
    pendingTag_ = tag;
    handOver_.store(pending_.empty() || outputChannels_ <= 0 ? kEmpty : kReady);
}

void StreamAdapter::TakeQueuedLoop() {
    const unsigned long long wrap = wraps_.fetch_add(1) + 1;
    int ready = kReady;
    if (!handOver_.compare_exchange_strong(ready, kWriting)) return;
    if (wrap < pendingAt_) {
        handOver_.store(kReady);
        return;
    }
    // Swapping hands the device the new loop and the GUI thread the old one: nothing is
    // allocated or freed here.
    output_.swap(pending_);
    framesPerBuffer_ = output_.size() / static_cast<unsigned long>(outputChannels_);
    const unsigned long long switches = switches_.load() + 1;
    spanStart_[switches % 2].store(bufferStart_);
    spanTag_[switches % 2].store(pendingTag_);
    switches_.store(switches);
    handOver_.store(kEmpty);
}

LoopSpan StreamAdapter::LoopAt(double frame) const {
    const unsigned long long switches = switches_.load();
    const unsigned long long now = switches % 2, before = (switches + 1) % 2;
    if (switches == 0 || frame >= static_cast<double>(spanStart_[now].load()))
        return {spanStart_[now].load(), spanTag_[now].load()};
    return {spanStart_[before].load(), spanTag_[before].load()};
}

int StreamAdapter::Refill() {
    position_ = 0;
    if (looped_) {
        TakeQueuedLoop();
        return 0;
    }
    std::fill(output_.begin(), output_.end(), 0.0f);
    if (!callback_) return 0;
    return callback_(inputChannels_ > 0 ? input_.data() : nullptr,
                     outputChannels_ > 0 ? output_.data() : nullptr, framesPerBuffer_,
                     static_cast<double>(bufferStart_), userData_);
}

int StreamAdapter::Process(const float* input, float* output, unsigned long frames,
                           double heardAt) ONDREL_NONBLOCKING {
    const auto in = static_cast<unsigned long>(inputChannels_);
    const auto out = static_cast<unsigned long>(outputChannels_);
    if (out > 0) sounding_.Stamp(processed_.load(), heardAt);
    unsigned long done = 0;
    while (done < frames) {
        if (position_ == framesPerBuffer_ && out > 0) {
            if (finished_ != 0) break;  // the last buffer has played out
            bufferStart_ = processed_.load() + done;
            finished_ = Refill();
        }
        unsigned long n = std::min(frames - done, framesPerBuffer_ - position_);
        if (in > 0) {
            float* to = input_.data() + position_ * in;
            if (input)
                std::copy(input + done * in, input + (done + n) * in, to);
            else
                std::fill(to, to + n * in, 0.0f);
        }
        if (out > 0)
            std::copy(output_.data() + position_ * out, output_.data() + (position_ + n) * out,
                      output + done * out);
        position_ += n;
        done += n;
        if (position_ == framesPerBuffer_ && out == 0) {
            finished_ = Refill();
            bufferStart_ = processed_.load() + done;
            if (finished_ != 0) break;
        }
    }
    if (done < frames && out > 0) std::fill(output + done * out, output + frames * out, 0.0f);
    processed_ += done;
    return finished_ != 0 && (out == 0 || done < frames) ? finished_ : 0;
}
