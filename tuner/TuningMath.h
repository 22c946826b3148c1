#pragma once

#include <cmath>
#include <functional>
#include <string>

#include <tinyxml.h>

// How far a detected frequency is from the target, on the tuner's scales.

// One cent as a ratio: the single-precision value of 2^(1/1200).
constexpr float kCentRatio = 1.0005778074264526f;

// The ends of a scale around a target, in Hz.
struct TuneBounds {
    double lower = 0.0;
    double upper = 0.0;
};

// 50 cents above the target, and the same distance in hertz below it (the upper distance
// mirrored, not 50 cents in ratio), so the target is the middle.
TuneBounds CentBoundsOf(float target);
// The distance of a frequency from the target in cents (NaN for what has none).
float CentsFrom(float frequency, float target);

// The cents scale ("Cents": "Unit").
struct CentsPolicy {
    std::string unit;
    void Load(const TiXmlElement* element);
    TuneBounds BoundsOf(float target) const { return CentBoundsOf(target); }
};

// The hertz scale ("Hertz": "Unit", "Width" in Hz): the target plus and minus half the width.
struct HertzPolicy {
    std::string unit;
    float width = 0.0f;
    void Load(const TiXmlElement* element);
    TuneBounds BoundsOf(float target) const { return {target - width / 2.0, target + width / 2.0}; }
};

// The detected frequency's deviation from the target on a policy's scale: -1 at and below the
// lower end, 0 at the target, +1 at and above the upper end, straight lines between; 0 for a
// target that has no scale (0 Hz).
template <class Policy>
class TuneValueFunctor {
public:
    using Getter = std::function<float()>;

    TuneValueFunctor(Policy policy, Getter target, Getter detected)
        : policy_(std::move(policy)), target_(std::move(target)), detected_(std::move(detected)) {}

    float operator()() const { return Deviation(target_(), detected_()); }

    float Deviation(float target, float detected) const {
        const TuneBounds bounds = policy_.BoundsOf(target);
        const double t = target, c = detected;
        if (bounds.upper == t || bounds.lower == t) return 0.0f;
        if (!(c >= bounds.lower)) return -1.0f;  // NaN counts as below: never a place between
        if (c > bounds.upper) return 1.0f;
        return static_cast<float>(c >= t ? (c - t) / (bounds.upper - t)
                                         : (c - t) / (t - bounds.lower));
    }

    // 0 at the lower end, 1 at the upper end, not clamped.
    float Position() const {
        const float target = target_();
        const TuneBounds bounds = policy_.BoundsOf(target);
        return static_cast<float>((detected_() - bounds.lower) / (bounds.upper - bounds.lower));
    }

    const Policy& GetPolicy() const { return policy_; }

private:
    Policy policy_;
    Getter target_;
    Getter detected_;
};

// How well in tune, for a light: 1 exactly in tune, falling as the square of what is left to
// 0 at the ends of the scale.
template <class Policy>
class TuneSqrAbsValueFunctor : public TuneValueFunctor<Policy> {
public:
    using TuneValueFunctor<Policy>::TuneValueFunctor;

    float operator()() const {
        const float x = 1.0f - std::abs(TuneValueFunctor<Policy>::operator()());
        if (x <= 0.0f) return 0.0f;
        return x < 1.0f ? x * x : 1.0f;
    }
};
