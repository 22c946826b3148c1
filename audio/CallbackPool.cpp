#include "audio/CallbackPool.h"

#include <utility>

namespace {

template <int I>
int Entry(void* input, void* output, unsigned long frames, double outTime, void* userData) {
    // An entry point is handed out only by a pool that exists, and the pool is never destroyed.
    return DllCallbackPoolInstance().Call(I, input, output, frames, outTime, userData);
}

template <int... I>
constexpr std::array<PortAudioCallback, sizeof...(I)> MakeEntries(
    std::integer_sequence<int, I...>) {
    return {&Entry<I>...};
}

constexpr auto kEntries = MakeEntries(std::make_integer_sequence<int, CallbackPool::kSize>{});

}  // namespace

PortAudioCallback CallbackPool::Register(StreamCallback function) {
    int index = count_.load(std::memory_order_relaxed);
    if (index >= kSize) return nullptr;
    functions_[static_cast<std::size_t>(index)] = std::move(function);
    count_.store(index + 1, std::memory_order_release);
    return kEntries[static_cast<std::size_t>(index)];
}

int CallbackPool::Call(int index, void* input, void* output, unsigned long frames, double outTime,
                       void* userData) {
    if (index < 0 || index >= Registered()) return 0;
    const StreamCallback& function = functions_[static_cast<std::size_t>(index)];
    return function ? function(input, output, frames, outTime, userData) : 0;
}

CallbackPool& DllCallbackPoolInstance() {
    // Lives as long as the process: a device thread may call an entry point until its stream
    // is closed, and the exit handlers that destroy the singletons are not ordered after that.
    static CallbackPool* const pool = new CallbackPool();
    return *pool;
}
