#include "pym/gui/ProgressBar.h"

#include <algorithm>
#include <cmath>

#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<ProgressBar>("Pym::ProgressBar", "$PYM/Objects/ProgressBar/ProgressBar.xml");

}  // namespace

bool ProgressBar::LoadFromXml(TiXmlElement* element) {
    if (!TicScrollObject::LoadFromXml(element)) return false;
    ReadAttribute(min_, element, "Min");
    ReadAttribute(max_, element, "Max");
    value_ = min_;
    ReadAttribute(value_, element, "Value");
    ShowValue();
    return true;
}

void ProgressBar::SetFraction(float fraction) {
    fraction_ = std::isfinite(fraction) ? std::clamp(fraction, 0.0f, 1.0f) : 0.0f;
    float shown = fraction_;
    // Whole segments only: one shows once it is reached.
    if (Tics() > 0) shown = std::floor(fraction_ * Tics() + 1e-4f) / Tics();
    SetBarPosition(0.0f);
    SetBarShare(shown);
}

void ProgressBar::SetRange(float min, float max) {
    min_ = min;
    max_ = max;
    ShowValue();
}

void ProgressBar::SetValue(float value) {
    value_ = value;
    ShowValue();
}

void ProgressBar::ShowValue() {
    const float range = max_ - min_;
    // An empty range is all or nothing.
    SetFraction(range > 0.0f ? (value_ - min_) / range : (value_ >= max_ ? 1.0f : 0.0f));
}

}  // namespace Pym
