#include "pym/base/Trace.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace Pym {

namespace {

struct TraceState {
    std::mutex mutex;
    TraceHook hook;
};

TraceState& State() {
    static TraceState* state =
        new TraceState();  // never destroyed: traces may come from exit handlers
    return *state;
}

void DefaultHook(const std::string& text) {
    static const bool enabled = std::getenv("ONDREL_TRACE") != nullptr;
    if (enabled) std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace

void Trace(const std::string& text) {
    TraceState& state = State();
    TraceHook hook;
    {
        std::lock_guard lock(state.mutex);
        hook = state.hook;
    }
    if (hook)
        hook(text);
    else
        DefaultHook(text);
}

TraceHook SetTraceHook(TraceHook hook) {
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    TraceHook previous = std::move(state.hook);
    state.hook = std::move(hook);
    return previous;
}

}  // namespace Pym
