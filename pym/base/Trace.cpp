#include "pym/base/Trace.h"

#include <errno.h>

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

TraceHook InstalledHook() {
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    return state.hook;
}

}  // namespace

void Trace(const std::string& text) {
    if (TraceHook hook = InstalledHook())
        hook(text);
    else
        DefaultHook(text);
}

void Report(const std::string& text) {
    if (TraceHook hook = InstalledHook())
        hook(text);
    else
        std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text.c_str());
}

TraceHook SetTraceHook(TraceHook hook) {
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    TraceHook previous = std::move(state.hook);
    state.hook = std::move(hook);
    return previous;
}

}  // namespace Pym
