#pragma once

#include <vector>

#include "pym/gui/GridLayout.h"
#include "pym/gui/WheelNotches.h"

namespace Pym {

// A slider over the whole numbers min..max that shows one of its position objects (one per
// displayed step, from its child elements, in order) for the value. The pointer sets the
// value where it presses and drags; the wheel moves it one displayed step per notch. Each
// new value is announced with ObjectSliderSignal.
class ObjectSlider : public GridLayout {
public:
    ObjectSlider() = default;

    // Clamps the value, shows its position object and announces it.
    void SetValue(int value);
    int GetValue() const { return value_; }
    int GetMin() const { return min_; }
    int GetMax() const { return max_; }
    bool IsHorizontal() const { return horizontal_; }
    bool IsReadOnly() const { return readOnly_; }
    bool IsDragging() const { return dragging_; }
    const std::vector<GuiObject*>& Positions() const { return positions_; }
    GuiObject* Shown() const { return shown_; }
    // The value under a point in the slider's own coordinates: max at the top of a vertical
    // slider, min at the left of a horizontal one.
    int ValueAt(int x, int y) const;
    // How far one wheel notch moves the value: one displayed step.
    int Step() const;

    void OnLeftButtonDown(Signal::LeftButtonDown& signal) override;
    void OnLeftButtonUp(Signal::LeftButtonUp& signal) override;
    void OnMouseMove(Signal::MouseMove& signal) override;
    void OnMouseWheel(Signal::MouseWheel& signal) override;
    void OnWindowActivated(Signal::WindowActivated& signal) override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    void BuildPositions(TiXmlElement* element);
    void ShowPositionFor(int value);
    bool TakesPointer() const { return !readOnly_ && !positions_.empty(); }

    std::vector<GuiObject*> positions_;
    GuiObject* shown_ = nullptr;
    int value_ = 0;
    int min_ = 0;
    int max_ = 0;
    bool horizontal_ = true;
    bool dragging_ = false;
    bool readOnly_ = false;
    bool loaded_ = false;
    WheelNotches wheel_;
};

}  // namespace Pym
