#include "pym/gui/ThreePartArrangement.h"

#include <algorithm>

namespace Pym {

namespace {

void Place(GuiObject* piece, bool horizontal, int along, int extent, int breadth) {
    if (!piece) return;
    if (horizontal) {
        piece->Move(along, 0);
        piece->Resize(extent, breadth);
    } else {
        piece->Move(0, along);
        piece->Resize(breadth, extent);
    }
    piece->Relayout();
}

}  // namespace

void ArrangeInThree(const GuiObject& layout, bool horizontal, GuiObject* start, GuiObject* middle,
                    GuiObject* end, int endExtent) {
    const int length = horizontal ? layout.GetWidth() : layout.GetHeight();
    const int breadth = horizontal ? layout.GetHeight() : layout.GetWidth();
    const int ends = std::clamp(endExtent, 0, std::max(length, 0) / 2);
    const int startExtent = start ? ends : 0, endPiece = end ? ends : 0;
    Place(start, horizontal, 0, startExtent, breadth);
    Place(middle, horizontal, startExtent, std::max(length - startExtent - endPiece, 0), breadth);
    Place(end, horizontal, length - endPiece, endPiece, breadth);
}

}  // namespace Pym
