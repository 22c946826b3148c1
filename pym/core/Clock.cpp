#include "pym/core/Clock.h"

#include <chrono>

namespace Pym {

namespace {

std::function<double()>& Source() {
    static std::function<double()> source;
    return source;
}

}  // namespace

double ClockSeconds() {
    if (Source()) return Source()();
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SetClockSource(std::function<double()> source) {
    Source() = std::move(source);
}

}  // namespace Pym
