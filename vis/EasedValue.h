#pragma once

// A value that follows its target smoothly: each step closes the same share of the distance per
// unit of time (so it never overshoots), settling within a hundredth of the distance in about
// 100 ms, and stops exactly on the target once it is close enough to look arrived: within
// `arrived`, which its drawer sets to about half a pixel.
class EasedValue {
public:
    static constexpr double kTimeConstant = 0.022;  // s: 1 % of the distance left after 0.1 s
    static constexpr float kArrived = 0.0005f;      // of the scale, unless told otherwise

    // Sets where to go; the first target is taken at once.
    void SetTarget(float target);
    // Moves by `seconds`; true when the shown value changed.
    bool Step(double seconds, float arrived = kArrived);
    // Jumps to the target.
    void Settle() { shown_ = target_; }

    float Shown() const { return shown_; }
    float Target() const { return target_; }
    bool Arrived() const { return shown_ == target_; }

private:
    float target_ = 0.0f;
    float shown_ = 0.0f;
    bool started_ = false;
};
