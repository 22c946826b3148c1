#pragma once

#include "pym/core/Signals.h"
#include "pym/gui/GuiObject.h"

namespace Pym::TextValidate {

// The question an edit box asks its validators before each insertion.
using Validate = Signal::TextValidate;

// An invisible object whose slot judges an edit box's insertions: connected by the skin to the
// box's Validate signal, it refuses what its rule does not allow. Each judges the first
// character of the insertion, and only while no other validator has refused it yet.
class Int : public GuiObject {
public:
    Int() : GuiObject(/*notSelectable=*/1, /*sizeLocked=*/0) {}
    // Digits only.
    void SlotValidate(Validate& signal);
};

class Float : public GuiObject {
public:
    Float() : GuiObject(/*notSelectable=*/1, /*sizeLocked=*/0) {}
    // Digits, and one decimal point in the whole text.
    void SlotValidate(Validate& signal);
};

}  // namespace Pym::TextValidate
