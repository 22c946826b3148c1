#pragma once

#include "pym/gui/TicScrollObject.h"

namespace Pym {

// Shows how far something has come: the bar grows from the start of the track to cover the
// share reached, either given directly (0..1) or as a value between "Min" and "Max". With
// "Tics" the bar grows in that many whole segments. The pointer does not move it.
class ProgressBar : public TicScrollObject {
public:
    // The share reached; values outside 0..1 (or not numbers) are held to the ends.
    void SetFraction(float fraction);
    float Fraction() const { return fraction_; }
    void SetRange(float min, float max);
    void SetValue(float value);
    float Min() const { return min_; }
    float Max() const { return max_; }
    float Value() const { return value_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    bool TakesPointer() const override { return false; }

private:
    void ShowValue();

    float min_ = 0.0f, max_ = 1.0f, value_ = 0.0f;
    float fraction_ = 0.0f;
};

}  // namespace Pym
