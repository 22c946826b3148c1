#pragma once

#include <array>
#include <atomic>
#include <functional>

#include "audio/StreamAdapter.h"

using StreamCallback = std::function<int(void* input, void* output, unsigned long frames,
                                         double outTime, void* userData)>;

// Plain entry points for function objects: a fixed table of eight functions, entry i calling
// the i-th registered function object. Registrations are never removed, so at most eight
// streams get an entry point in the life of the process. The pool is never destroyed.
class CallbackPool {
public:
    static constexpr int kSize = 8;

    // The entry point that now calls `function`, or null (and `function` dropped) when all
    // eight are taken.
    PortAudioCallback Register(StreamCallback function);
    int Registered() const { return count_.load(std::memory_order_acquire); }

    // Entry i: forwards to function i, or returns 0 while fewer than i+1 are registered.
    int Call(int index, void* input, void* output, unsigned long frames, double outTime,
             void* userData);

private:
    std::array<StreamCallback, kSize> functions_;
    std::atomic<int> count_{0};
};

CallbackPool& DllCallbackPoolInstance();
