#include "audio/CallbackPool.h"

#include <utility>

#include "pym/base/Singleton.h"

namespace {

template <int I>
int Entry(void* input, void* output, unsigned long frames, double outTime, void* userData) {
    // The pool may already be gone when a device thread outlives the exit handlers.
    CallbackPool* pool = Pym::Singleton<CallbackPool>::IfAlive();
    return pool ? pool->Call(I, input, output, frames, outTime, userData) : 0;
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
    return Pym::Singleton<CallbackPool>::Instance();
}
