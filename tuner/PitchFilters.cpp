#include "tuner/PitchFilters.h"

#include <algorithm>
#include <cmath>

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
