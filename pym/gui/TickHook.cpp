#include "pym/gui/TickHook.h"

namespace Pym {

namespace {

TickHook& Hook() {
    static TickHook hook;
    return hook;
}

}  // namespace

void SetTickHook(TickHook hook) {
    Hook() = std::move(hook);
}

void RunTickHook() {
    // A copy, so a hook that replaces itself does not destroy the function it runs in.
    if (TickHook hook = Hook()) hook();
}

}  // namespace Pym
