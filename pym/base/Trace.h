#pragma once

#include <functional>
#include <string>

namespace Pym {

// Every diagnostic text of the framework passes through one hook. By default the hook does
// nothing, unless ONDREL_TRACE is set in the environment, in which case each text goes to
// standard error. Tests install their own hook to read the texts.
using TraceHook = std::function<void(const std::string&)>;

void Trace(const std::string& text);

// A fault of the skin the user should hear of even without ONDREL_TRACE (a picture that
// cannot be read, say): goes to the installed hook, else always to standard error.
void Report(const std::string& text);

// Installs a hook and returns the previous one; an empty hook restores the default.
TraceHook SetTraceHook(TraceHook hook);

// Installs a hook for the lifetime of the object and restores the previous one afterwards.
class ScopedTraceHook {
public:
    explicit ScopedTraceHook(TraceHook hook) : previous_(SetTraceHook(std::move(hook))) {}
    ~ScopedTraceHook() { SetTraceHook(std::move(previous_)); }
    ScopedTraceHook(const ScopedTraceHook&) = delete;
    ScopedTraceHook& operator=(const ScopedTraceHook&) = delete;

private:
    TraceHook previous_;
};

}  // namespace Pym
