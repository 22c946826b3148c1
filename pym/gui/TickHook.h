#pragma once

#include <functional>

namespace Pym {

// Work the application wants done on the user-interface thread at every timer tick of a
// window, before the tick reaches the objects. Ticks come only while an object needs them
// (GuiObject::NeedsTicks) or a repaint waits: the hook asks for none, and work that must run
// on its own (an outside device) is better woken by the host's descriptor watches. Only one
// hook; setting another replaces it.
using TickHook = std::function<void()>;

void SetTickHook(TickHook hook);
void RunTickHook();

}  // namespace Pym
