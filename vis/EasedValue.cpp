#include "vis/EasedValue.h"

#include <cmath>

void EasedValue::SetTarget(float target) {
    if (!std::isfinite(target)) return;  // keeps the last good place
    target_ = target;
    if (!started_) {
        shown_ = target;
        started_ = true;
    }
}

bool EasedValue::Step(double seconds, float arrived) {
    if (shown_ == target_ || !(seconds > 0.0)) return false;
    // A move too small to see is taken without asking for a picture.
    if (std::fabs(target_ - shown_) < arrived) {
        shown_ = target_;
        return false;
    }
    const float share = static_cast<float>(1.0 - std::exp(-seconds / kTimeConstant));
    shown_ += (target_ - shown_) * share;
    if (std::fabs(target_ - shown_) < arrived) shown_ = target_;
    return true;
}
