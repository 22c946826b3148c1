#pragma once

namespace Pym {

// A wheel turns in notches of 120; fine-grained wheels and touchpads send parts of one, which
// add up until they make a whole notch.
class WheelNotches {
public:
    static constexpr int kNotch = 120;

    // Adds a wheel delta and returns the whole notches now complete (signed), keeping the rest.
    int Take(int delta) {
        rest_ += delta;
        const int notches = rest_ / kNotch;
        rest_ -= notches * kNotch;
        return notches;
    }
    void Reset() { rest_ = 0; }

private:
    int rest_ = 0;
};

}  // namespace Pym
