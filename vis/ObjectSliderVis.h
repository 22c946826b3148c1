#pragma once

#include <cmath>

#include "pym/gui/GridLayout.h"
#include "pym/gui/ObjectSlider.h"

namespace Pym {

// A display that is an object slider moved by a value: on each redraw the slider shows
// minimum + trunc(F() * (maximum - minimum)), F giving 0 to 1. The slider is the first child
// object its element creates. Nothing is repainted while the position stays.
template <class F>
class ObjectSliderVis : public GridLayout {
public:
    // Refreshed with the other displays: repainted alone over a copy of what lies beneath.
    explicit ObjectSliderVis(F value = F()) : value_(std::move(value)) { KeepBackdrop(); }

    ObjectSlider* Slider() const { return slider_; }

    void Redraw() override {
        if (slider_) {
            const float fraction = value_();
            const int span = slider_->GetMax() - slider_->GetMin();
            const int position =
                slider_->GetMin() +
                (std::isfinite(fraction) ? static_cast<int>(std::trunc(fraction * span)) : 0);
            if (position == slider_->GetValue()) return;
            slider_->SetValue(position);
        }
        GridLayout::Redraw();
    }

protected:
    void CreateFromXml(TiXmlElement* element) override {
        GridLayout::CreateFromXml(element);
        for (GuiObject* child : Children())
            if ((slider_ = dynamic_cast<ObjectSlider*>(child))) break;
    }

private:
    F value_;
    ObjectSlider* slider_ = nullptr;
};

}  // namespace Pym
