#include "tuner/TuningMath.h"

#include <cmath>

#include "pym/core/XMLLoadSave.h"

TuneBounds CentBoundsOf(float target) {
    static const double halfSemitone = std::pow(static_cast<double>(kCentRatio), 50.0);
    const double upper = target * halfSemitone;
    return {2.0 * target - upper, upper};
}

float CentsFrom(float frequency, float target) {
    if (!(frequency > 0.0f) || !(target > 0.0f)) return std::nanf("");
    return static_cast<float>(1200.0 * std::log2(static_cast<double>(frequency) / target));
}

void CentsPolicy::Load(const TiXmlElement* element) {
    Pym::XMLLoadSave::ReadAttribute(unit, element, "Unit", true);
}

void HertzPolicy::Load(const TiXmlElement* element) {
    Pym::XMLLoadSave::ReadAttribute(unit, element, "Unit", true);
    Pym::XMLLoadSave::ReadAttribute(width, element, "Width", true);
}
