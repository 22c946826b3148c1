#include "tuner/PitchFilters.h"

#include <algorithm>
#include <cmath>
#include <limits>

float CentsBetween(float a, float b) {
    if (!(a > 0.0f) || !(b > 0.0f)) return std::numeric_limits<float>::infinity();
    return 1200.0f * std::fabs(std::log2(a / b));
}

float JumpFilter::operator()(float value) {
    history_.push_back(value);
    if (history_.size() > kHistory) history_.pop_front();
    if (std::fabs(value - lastAccepted_) < kTolerance) return value;
    bool agreed = std::none_of(history_.begin(), history_.end(), [value](float earlier) {
        return std::fabs(earlier - value) > kTolerance;
    });
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
    recent_.push_back(value);
    if (recent_.size() > JumpFilter::kHistory) recent_.pop_front();
    const float held = jump_(value);
    if (CentsBetween(held, static_cast<float>(shown_)) > kNoteCents) {
        const bool agreed = recent_.size() == JumpFilter::kHistory &&
                            std::none_of(recent_.begin(), recent_.end(), [held](float v) {
                                return CentsBetween(v, held) > kNoteCents;
                            });
        if (shown_ > 0.0 && !agreed) return shown_;
        average_.Restart();
    }
    shown_ = average_(held);
    return shown_;
}
