#pragma once

#include <cstddef>

namespace Pym {

class GuiObject;

// The objects that take the windows' 10 ms Timer signal. A tick travels only along the paths
// from a window's shown tree down to them instead of through every object, and the event loop
// sleeps while none of them in a shown tree needs one (GuiObject::NeedsTicks) and no window
// waits for a repaint. Everything here runs on the user-interface thread.
class TickSubscribers {
public:
    static void Add(GuiObject* object);
    static void Remove(GuiObject* object);
    static bool Has(const GuiObject* object);
    static std::size_t Count();
    // What the event loop asks before it waits: in how many ms a tick is wanted, -1 for none.
    static int WantedInMs();

    // While one lives, Timer signals take only the paths to the subscribers: the subscribers
    // and their ancestors, each under its usual acceptance test.
    class Routing {
    public:
        Routing();
        ~Routing();
        Routing(const Routing&) = delete;
        Routing& operator=(const Routing&) = delete;
    };
    static bool Routes();
    static bool OnPath(const GuiObject* object);
};

}  // namespace Pym
