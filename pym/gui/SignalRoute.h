#pragma once

namespace Pym {

class GuiObject;
namespace Signal {
class Base;
}

// Carries signals through an object tree. The route is built post-order (children before
// their parent); an object that accepts the signal but has no slots for it handles it at
// once, the others are delivered to in route order, own handling first, then their slots.
namespace SignalRoute {

// Raises the signal from `sender`: routed from the sender's window (or tree root) down.
void Send(GuiObject* sender, Signal::Base& signal);

// Routes through the subtree of `object` (or, without `recurse`, to the object alone) under
// the usual acceptance tests, keeping the signal's sender.
void Deliver(GuiObject* object, Signal::Base& signal, bool recurse);

// Delivers to one object alone, which accepts the signal whatever its state; its slots run
// on behalf of `onBehalf`.
void SendToSelf(GuiObject* object, Signal::Base& signal, GuiObject* onBehalf);

}  // namespace SignalRoute
}  // namespace Pym
