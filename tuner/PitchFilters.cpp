#include "tuner/PitchFilters.h"

#include <algorithm>
#include <cmath>
#include <limits>

float CentsBetween(float a, float b) {
    if (!(a > 0.0f) || !(b > 0.0f)) return std::numeric_limits<float>::infinity();
    return 1200.0f * std::fabs(std::log2(a / b));
}

bool JumpFilter::Near(float a, float b) const {
    return std::fabs(a - b) < kTolerance &&
           (centsTolerance_ <= 0.0f || CentsBetween(a, b) < centsTolerance_);
}

bool JumpFilter::Far(float a, float b) const {
    return std::fabs(a - b) > kTolerance ||
           (centsTolerance_ > 0.0f && CentsBetween(a, b) > centsTolerance_);
}

float JumpFilter::operator()(float value) {
    history_.push_back(value);
    if (history_.size() > kHistory) history_.pop_front();
    if (Near(value, lastAccepted_)) return value;
    bool agreed = std::none_of(history_.begin(), history_.end(),
                               [this, value](float earlier) { return Far(earlier, value); });
    if (!agreed) return lastAccepted_;
    lastAccepted_ = value;
    return value;
}

double AverageFilter::operator()(double value) {
    history_.push_back(value);
    if (history_.size() > kHistory) history_.pop_front();
    const double alpha = 2.0 / (static_cast<double>(history_.size()) + 1.0);
    double average = history_.front();
    for (double v : history_) average = alpha * v + (1.0 - alpha) * average;
    return average;
}

double DisplayFilter::operator()(float value) {
    const float held = jump_(value);
    if (CentsBetween(held, static_cast<float>(shown_)) > kNoteCents) average_.Restart();
    shown_ = average_(held);
    return shown_;
}
