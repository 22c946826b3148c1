#include "pym/gui/SignalRoute.h"

#include "pym/gui/GuiObject.h"
#include "pym/gui/TickSubscribers.h"

namespace Pym::SignalRoute {

namespace {

// The host-window position of the object's parent: the origin its own x and y count from.
void ParentOrigin(const GuiObject* object, int& x, int& y) {
    x = y = 0;
    for (const GuiObject* up = object->GetParent(); up && !up->IsWindow(); up = up->GetParent()) {
        x += up->GetX();
        y += up->GetY();
    }
}

// Runs one object's part: its own handling, then its slots unless `handleOnly`. A positional
// signal shows the object its point in the object's own coordinates for the duration.
void DeliverEntry(const Signal::RouteEntry& entry, Signal::Base& signal,
                  Signal::Positional* positional, GuiObject* onBehalf, bool handleOnly = false) {
    GuiObject* object = entry.object;
    int savedX = 0, savedY = 0;
    if (positional) {
        savedX = positional->x;
        savedY = positional->y;
        positional->offsetX = entry.offsetX;
        positional->offsetY = entry.offsetY;
        positional->x += entry.offsetX;
        positional->y += entry.offsetY;
    }
    object->HandleSignal(signal);
    if (!handleOnly) object->Connections().Call(signal, onBehalf ? onBehalf : object);
    if (positional) {
        positional->x = savedX;
        positional->y = savedY;
        positional->offsetX = positional->offsetY = 0;
    }
}

struct Walk {
    Signal::Base& signal;
    Signal::Positional* positional;  // the signal, when it carries a point
    bool recurse;
    bool tickPaths;  // a window's tick: only down the paths to the tick subscribers
};

// The route step. (originX, originY) is where the object's own coordinates start in the
// host window's, as the acceptance tests need it.
void Build(const Walk& walk, GuiObject* object, int originX, int originY) {
    const int ownX = object->IsWindow() ? 0 : originX + object->GetX();
    const int ownY = object->IsWindow() ? 0 : originY + object->GetY();
    Signal::Positional* positional = walk.positional;
    if (positional) {
        positional->offsetX = -ownX;
        positional->offsetY = -ownY;
    }

    if (walk.recurse && object->WantsSignalForChildren(walk.signal)) {
        // By index: a handler may add children while the route is being built.
        for (std::size_t i = 0; i < object->Children().size(); ++i) {
            GuiObject* child = object->Children()[i];
            if (walk.tickPaths && !TickSubscribers::OnPath(child)) continue;
            Build(walk, child, ownX, ownY);
        }
        if (positional) {
            positional->offsetX = -ownX;
            positional->offsetY = -ownY;
        }
    }
    if (!object->WantsSignal(walk.signal)) return;

    Signal::RouteEntry entry{object, positional ? positional->offsetX : 0,
                             positional ? positional->offsetY : 0};
    if (positional) positional->offsetX = positional->offsetY = 0;
    if (!object->Connections().Has(walk.signal.id)) {
        DeliverEntry(entry, walk.signal, positional, nullptr, true);
        return;
    }
    walk.signal.route.push_back(entry);
}

void BuildAndDeliver(GuiObject* root, Signal::Base& signal, bool recurse, GuiObject* onBehalf) {
    int originX, originY;
    ParentOrigin(root, originX, originY);
    signal.route.clear();
    const Walk walk{signal,
                    signal.IsPositional() ? static_cast<Signal::Positional*>(&signal) : nullptr,
                    recurse, TickSubscribers::Routes() && signal.id == Signal::Timer::Id()};
    if (walk.tickPaths && !TickSubscribers::OnPath(root)) return;
    Build(walk, root, originX, originY);
    // By index: a slot may raise further signals, but never on this signal's route.
    for (std::size_t i = 0; i < signal.route.size(); ++i)
        DeliverEntry(signal.route[i], signal, walk.positional, onBehalf);
}

}  // namespace

void Send(GuiObject* sender, Signal::Base& signal) {
    signal.sender = sender;
    if (sender) BuildAndDeliver(sender->RouteRoot(), signal, true, nullptr);
}

void Deliver(GuiObject* object, Signal::Base& signal, bool recurse) {
    if (object) BuildAndDeliver(object, signal, recurse, nullptr);
}

void SendToSelf(GuiObject* object, Signal::Base& signal, GuiObject* onBehalf) {
    if (!object) return;
    signal.sender = object;
    const bool wasForced = object->ForcedAcceptance();
    object->SetForcedAcceptance(true);
    BuildAndDeliver(object, signal, false, onBehalf);
    object->SetForcedAcceptance(wasForced);
}

}  // namespace Pym::SignalRoute
