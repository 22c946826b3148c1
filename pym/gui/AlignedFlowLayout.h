#pragma once

#include "pym/gui/FlowLayout.h"

namespace Pym {

// The two-part flow with its fixed child at one end of the axis (the start: top or left; or
// the end: bottom or right) and the expandable child filling the rest, both across the full
// cross extent.
class AlignedFlowLayout : public FlowLayout {
public:
    explicit AlignedFlowLayout(bool fixedAtEnd) : fixedAtEnd_(fixedAtEnd) {}

protected:
    void Arrange() override;

private:
    // The first child that is (or is not) expandable, else null.
    GuiObject* FirstChild(bool expandable) const;
    // Moves and sizes a child by its extents along and across the axis.
    void Place(GuiObject& child, int along, int across, int length, int breadth);

    bool fixedAtEnd_;
};

}  // namespace Pym
