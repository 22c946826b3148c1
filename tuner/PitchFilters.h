#pragma once

#include <deque>

// Holds back a sudden change of frequency until the recent estimates agree on it, so a single
// wild estimate (an octave error, a noise burst) never reaches the display. A change counts as
// sudden beyond 25 Hz, and optionally also beyond a tolerance in cents, which holds back the
// changes of low notes too.
class JumpFilter {
public:
    static constexpr std::size_t kHistory = 5;
    static constexpr float kTolerance = 25.0f;  // Hz

    JumpFilter() = default;
    explicit JumpFilter(float centsTolerance) : centsTolerance_(centsTolerance) {}

    float operator()(float value);
    float LastAccepted() const { return lastAccepted_; }

private:
    bool Near(float a, float b) const;
    bool Far(float a, float b) const;

    float centsTolerance_ = 0.0f;  // 0: hertz only
    std::deque<float> history_;
    float lastAccepted_ = 0.0f;  // lets the first estimate through the history test
};

// Exponential average over the last ten values, recomputed from the oldest at every call.
class AverageFilter {
public:
    static constexpr std::size_t kHistory = 10;

    double operator()(double value);
    void Restart() { history_.clear(); }

private:
    std::deque<double> history_;
};

// From the estimates of the fundamental to the frequency shown. The jump filter holds back
// sudden changes, counting a change of more than a quarter-tone as sudden too (a low note's
// change of a fourth is less than 25 Hz). The average smooths a note and starts afresh at a
// change of note, so the display steps from the old note to the new one and never shows a
// value between them.
class DisplayFilter {
public:
    static constexpr float kNoteCents = 50.0f;

    double operator()(float value);
    double Shown() const { return shown_; }

private:
    JumpFilter jump_{kNoteCents};
    AverageFilter average_;
    double shown_ = 0.0;
};

// Distance of two positive frequencies in cents; infinite when either is not positive.
float CentsBetween(float a, float b);
