#include "pym/gui/TextValidate.h"

#include "pym/gui/RegisterType.h"

namespace Pym::TextValidate {

namespace {

const bool registeredInt =
    RegisterType<Int>("Pym::TextValidate::Int", "$PYM/Objects/TextValidateInt/TextValidateInt.xml");
const bool registeredFloat = RegisterType<Float>(
    "Pym::TextValidate::Float", "$PYM/Objects/TextValidateFloat/TextValidateFloat.xml");
const bool registeredIntSlot =
    RegisterSlot("Pym::TextValidate::Int::SlotValidate", &Int::SlotValidate);
const bool registeredFloatSlot =
    RegisterSlot("Pym::TextValidate::Float::SlotValidate", &Float::SlotValidate);

// Only ASCII digits: a byte of a multi-byte character is never one.
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool Undecided(const Validate& signal) {
    return signal.accepted && !signal.text.empty();
}

}  // namespace

void Int::SlotValidate(Validate& signal) {
    if (Undecided(signal)) signal.accepted = IsDigit(signal.text.front());
}

void Float::SlotValidate(Validate& signal) {
    if (!Undecided(signal)) return;
    const char c = signal.text.front();
    signal.accepted = IsDigit(c) || (c == '.' && signal.previous.find('.') == std::string::npos);
}

}  // namespace Pym::TextValidate
