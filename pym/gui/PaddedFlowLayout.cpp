#include "pym/gui/PaddedFlowLayout.h"

#include <algorithm>

namespace Pym {

void PaddedFlowLayout::OnSizedChildAdded(GuiObject* child, int size) {
    if (size == kExpandable) return;
    // The child's coordinates are the layout's own, so the size value is its position as is.
    if (IsHorizontal())
        child->Move(size, child->GetY());
    else
        child->Move(child->GetX(), size);
    RecordSize(child, 1);
}

void PaddedFlowLayout::Arrange() {
    const auto& children = Children();
    const int length = IsHorizontal() ? GetWidth() : GetHeight();
    const int breadth = IsHorizontal() ? GetHeight() : GetWidth();
    int offset = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        GuiObject& child = *children[i];
        if (IsExpandable(&child)) {
            const int start = i > 0 ? Position(*children[i - 1]) + Extent(*children[i - 1]) : 0;
            const int end = i + 1 < children.size() ? Position(*children[i + 1]) : length;
            const int gap = std::max(0, end - start);
            if (IsHorizontal()) {
                child.Resize(gap, i == 0 ? breadth : child.GetHeight());
                child.Move(offset, child.GetY());
            } else {
                child.Resize(i == 0 ? breadth : child.GetWidth(), gap);
                child.Move(child.GetX(), offset);
            }
            child.Relayout();
        }
        offset += Extent(child);
    }
}

}  // namespace Pym
