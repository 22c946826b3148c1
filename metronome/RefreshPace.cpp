#include "metronome/RefreshPace.h"

#include <algorithm>
#include <cstdio>

#include "pym/base/Trace.h"

void RefreshPace::Refreshed(Clock::time_point now, std::chrono::duration<double> late) {
    // The first refresh after a stop comes however long after the last one: it only opens the
    // period.
    if (count_ == 0) {
        periodStart_ = now;
        latest_ = 0.0;
        count_ = 1;
        return;
    }
    ++count_;
    latest_ = std::max(latest_, late.count());
    const std::chrono::duration<double> period = now - periodStart_;
    if (period.count() < 10.0) return;
    char line[128];
    std::snprintf(line, sizeof line, "Beat displays: %d refreshes in %.1f s, at most %.0f ms late",
                  count_ - 1, period.count(), latest_ * 1000.0);
    Pym::Trace(line);
    count_ = 1;
    periodStart_ = now;
    latest_ = 0.0;
}
