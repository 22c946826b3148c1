#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pym/gui/AspectPreservingContainer.h"
#include "pym/gui/CarouselGeometry.h"
#include "pym/gui/GridLayout.h"
#include "pym/gui/WheelNotches.h"

namespace Pym {

// A carousel: one item large in the middle, its neighbours smaller and fainter to both
// sides. A wheel notch over it moves the focus one item, a click on an item focuses it, and
// while it is selected the left and right navigation keys step through the items. Whenever
// the user changes the focus (or clicks the focused item) the container announces the
// focused item's name with a `Pym::Signal::String` to the slots connected on it; focusing by
// code is silent. The items are the objects its "CreateObject" children make (or AddItem),
// each shown in a cell that keeps "ItemAspectRatio".
class LargeFocusContainer : public GridLayout {
public:
    LargeFocusContainer();
    ~LargeFocusContainer() override;

    // Appends an item (not owned); the first one is focused.
    void AddItem(GuiObject* item);
    void RemoveAllItems();
    int ItemCount() const { return static_cast<int>(cells_.size()); }
    GuiObject* ItemAt(int index) const;
    // The index of the first item with that name, or -1.
    int FindItem(const std::string& name) const;
    // -1 while there are no items.
    int FocusedIndex() const { return focus_; }

    // Focuses an item without announcing it, and marks it chosen (drawn selected); false for
    // an index out of range.
    bool SetFocusIndex(int index);
    // No item is the chosen one any more; the carousel stays where it is.
    void ClearSelection();
    bool HasSelection() const { return marked_; }
    // Moves the focus by `steps` items, stopping at the ends, and announces the change; false
    // when the focus stayed.
    bool MoveFocus(int steps);

    void SetFocusShare(float share);
    float GetFocusShare() const { return geometry_.FocusShare(); }
    void SetItemAspectRatio(float ratio);
    // How long the items take to glide to their new places; 0 moves them at once.
    void SetGlideSeconds(double seconds) { glideSeconds_ = seconds; }
    bool IsGliding() const { return gliding_; }

    void AddToLayout(GuiObject* child, TiXmlElement* element, AnimationPtr animation) override;
    void Draw(Gfx::DrawContext& context) override;
    void OnMouseWheel(Signal::MouseWheel& signal) override;
    void OnLeftButtonUp(Signal::LeftButtonUp& signal) override;
    void OnSelectNextObject(Signal::SelectNextObject& signal) override;
    void OnTimer(Signal::Timer& signal) override;
    bool NeedsTicks() const override { return GridLayout::NeedsTicks() || gliding_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    // Puts every cell where the current (possibly gliding) position says, nearest on top.
    void PlaceItems();
    void StepGlide();
    void Announce();
    // Shows the chosen item selected, and only that one.
    void MarkFocused();
    // The item shown at a point of the container, nearest the focus first; -1 for none.
    int ItemIndexAt(int x, int y) const;

    std::vector<std::unique_ptr<AspectPreservingContainer>> cells_;
    CarouselGeometry geometry_;
    float itemAspectRatio_ = 1.0f;
    int focus_ = -1;
    bool marked_ = false;
    // Where the carousel stands, in items: equal to the focus except while gliding.
    double position_ = 0.0;
    double glideFrom_ = 0.0;
    double glideStart_ = 0.0;
    double glideSeconds_ = 0.16;
    bool gliding_ = false;
    WheelNotches wheel_;
};

}  // namespace Pym
