#pragma once

#include <chrono>

// Keeps count of the beat displays' refreshes while they move and traces, every ten seconds,
// how many there were and how late the latest one came after it was due: on a loaded machine
// the displays must keep up with the sound, and this is where one can see whether they do.
class RefreshPace {
public:
    using Clock = std::chrono::steady_clock;

    // A refresh made at `now`, `late` after it was due.
    void Refreshed(Clock::time_point now, std::chrono::duration<double> late);
    // The displays stopped moving: the next refresh opens a new period.
    void Stopped() { count_ = 0; }

private:
    Clock::time_point periodStart_;
    int count_ = 0;
    double latest_ = 0.0;
};
