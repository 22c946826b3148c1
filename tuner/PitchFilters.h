#pragma once

#include <deque>

// Holds back a sudden change of frequency until the recent estimates agree on it, so a single
// wild estimate (an octave error, a noise burst) never reaches the display.
class JumpFilter {
public:
    static constexpr std::size_t kHistory = 5;
    static constexpr float kTolerance = 25.0f;  // Hz

    float operator()(float value);
    float LastAccepted() const { return lastAccepted_; }

private:
    std::deque<float> history_;
    float lastAccepted_ = 0.0f;  // lets the first estimate through the history test
};

// Exponential average over the last ten values, recomputed from the oldest at every call.
class AverageFilter {
public:
    static constexpr std::size_t kHistory = 10;

    double operator()(double value);

private:
    std::deque<double> history_;
};
