#pragma once

#include <functional>

namespace Pym {

// Work the application wants done on the user-interface thread at every timer tick of a
// window, before the tick reaches the objects (for example, checking an outside device for
// changes without a thread of its own). Only one hook; setting another replaces it.
using TickHook = std::function<void()>;

void SetTickHook(TickHook hook);
void RunTickHook();

}  // namespace Pym
