#include "pym/gui/TicScrollObject.h"

#include <algorithm>
#include <cmath>

#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered = RegisterType<TicScrollObject>(
    "Pym::TicScrollObject", "$PYM/Objects/TicScrollObject/TicScrollObject.xml");

}  // namespace

bool TicScrollObject::LoadFromXml(TiXmlElement* element) {
    if (!ScrollObject::LoadFromXml(element)) return false;
    int tics = tics_;
    ReadAttribute(tics, element, "Tics");
    SetTics(tics);
    return true;
}

void TicScrollObject::SetTics(int tics) {
    tics_ = std::max(tics, 0);
    if (tics_ > 0) SetTic(Tic());
}

int TicScrollObject::Tic() const {
    return tics_ > 0 ? static_cast<int>(std::lround(BarPosition() * tics_)) : 0;
}

void TicScrollObject::SetTic(int tic) {
    if (tics_ > 0) SetBarPosition(static_cast<float>(std::clamp(tic, 0, tics_)) / tics_);
}

int TicScrollObject::TicPlace(int tic) const {
    return static_cast<int>(std::lround(static_cast<double>(tic) * Travel() / tics_));
}

int TicScrollObject::MoveBar(int delta, bool notify) {
    const int travel = Travel();
    if (tics_ <= 0 || travel <= 0 || !Bar()) return ScrollObject::MoveBar(delta, notify);
    const int pos = Position(*Bar());
    const int wanted = std::clamp(pos + delta, 0, travel);
    const int tic = static_cast<int>(std::lround(static_cast<double>(wanted) * tics_ / travel));
    return ScrollObject::MoveBar(TicPlace(tic) - pos, notify);
}

void TicScrollObject::Step(int steps) {
    if (tics_ <= 0 || !Bar()) {
        ScrollObject::Step(steps);
        return;
    }
    const int tic = std::clamp(Tic() + steps, 0, tics_);
    ScrollObject::MoveBar(TicPlace(tic) - Position(*Bar()), CallbacksOn());
}

}  // namespace Pym
