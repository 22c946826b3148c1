#pragma once

#include <string>
#include <vector>

#include "pym/core/CoreSingletons.h"

namespace Pym {

class GuiObject;

namespace Signal {

enum Mode : int {
    Directed = 0,   // reaches only objects that accept it (visible, selected, or hit)
    Broadcast = 1,  // reaches every object of the tree
};

// One stop of a signal's route: the object and the offset that turns the signal's point into
// that object's own coordinates.
struct RouteEntry {
    GuiObject* object;
    int offsetX;
    int offsetY;
};

class _Base {
public:
    virtual ~_Base() = default;
};

// What happened, raised by an object and routed through its tree. Signals are short-lived
// values; the route belongs to the signal.
class Base : public _Base {
public:
    Base(int mode, int id) : mode(mode), id(id) {}

    virtual bool IsPositional() const { return false; }
    // The class's own name without its namespace, e.g. "MouseWheel".
    virtual std::string ClassName() const { return "Base"; }

    bool IsBroadcast() const { return mode == Broadcast; }

    // The identifier of signal class `Self`: taken from the signal factory on first use, so
    // identifiers follow the order in which classes are first used.
    template <class Self>
    static int IdOf() {
        static int id = 0;
        if (id == 0) {
            DllSignalIdInstance();
            id = DllSignalFactoryInstance().NextId();
        }
        return id;
    }
    // Base itself stands for "any signal" where a slot accepts every signal.
    static int Id() { return IdOf<Base>(); }

    int mode;
    int id;
    std::vector<RouteEntry> route;
    GuiObject* sender = nullptr;
};

// A signal that carries a point. While the signal is delivered to an object, (x, y) are in
// that object's coordinates; `offsetX`/`offsetY` is the pending shift from the raiser's.
class Positional : public Base {
public:
    Positional(int mode, int id) : Base(mode, id) {}
    bool IsPositional() const override { return true; }

    int x = 0;
    int y = 0;
    int offsetX = 0;
    int offsetY = 0;
};

// Gives a signal class its identifier, mode and name text; `Self::kName` is the name under
// which skins know the class.
template <class Self, class Parent, int kMode>
class Kind : public Parent {
public:
    static int Id() { return Base::IdOf<Self>(); }
    std::string ClassName() const override {
        std::string name = Self::kName;
        std::size_t colon = name.rfind("::");
        return colon == std::string::npos ? name : name.substr(colon + 2);
    }

protected:
    Kind() : Parent(kMode, Id()) {}
};

}  // namespace Signal
}  // namespace Pym
