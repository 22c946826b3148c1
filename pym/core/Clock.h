#pragma once

#include <functional>

namespace Pym {

// Seconds on a steady clock; animations measure their time with it. Tests install their own
// source to step time by hand (an empty source restores the steady clock).
double ClockSeconds();
void SetClockSource(std::function<double()> source);

}  // namespace Pym
