#include "pym/gui/AlignedFlowLayout.h"

#include <algorithm>

namespace Pym {

GuiObject* AlignedFlowLayout::FirstChild(bool expandable) const {
    for (GuiObject* child : Children())
        if (IsExpandable(child) == expandable) return child;
    return nullptr;
}

void AlignedFlowLayout::Place(GuiObject& child, int along, int across, int length, int breadth) {
    if (IsHorizontal()) {
        child.Move(along, across);
        child.Resize(length, breadth);
    } else {
        child.Move(across, along);
        child.Resize(breadth, length);
    }
    child.Relayout();
}

void AlignedFlowLayout::Arrange() {
    GuiObject* fixed = FirstChild(false);
    GuiObject* expandable = FirstChild(true);
    const int length = IsHorizontal() ? GetWidth() : GetHeight();
    const int breadth = IsHorizontal() ? GetHeight() : GetWidth();
    if (!fixed) {
        if (expandable) Place(*expandable, 0, 0, length, breadth);
        return;
    }
    // A fixed child longer than the layout leaves the other nothing, never a negative size.
    const int fixedLength = Extent(*fixed);
    const int rest = std::max(0, length - fixedLength);
    if (fixedAtEnd_) {
        Place(*fixed, length - fixedLength, 0, fixedLength, breadth);
        if (expandable) Place(*expandable, 0, 0, rest, breadth);
    } else {
        Place(*fixed, 0, 0, fixedLength, breadth);
        if (expandable) Place(*expandable, Position(*fixed) + Extent(*fixed), 0, rest, breadth);
    }
}

}  // namespace Pym
