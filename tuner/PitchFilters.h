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
    void Restart() { history_.clear(); }

private:
    std::deque<double> history_;
};

// From the estimates of the fundamental to the frequency shown. The jump filter holds back
// sudden changes; a value more than a quarter-tone from the one shown (which may be less than
// the jump filter's 25 Hz for a low note) is shown only once the last five estimates agree on
// it. The average smooths a note and starts afresh at a change of note, so the display steps
// from the old note to the new one and never shows a value between them.
class DisplayFilter {
public:
    static constexpr float kNoteCents = 50.0f;

    double operator()(float value);
    double Shown() const { return shown_; }

private:
    JumpFilter jump_;
    AverageFilter average_;
    std::deque<float> recent_;  // the last estimates, before the jump filter
    double shown_ = 0.0;
};

// Distance of two positive frequencies in cents; infinite when either is not positive.
float CentsBetween(float a, float b);
