#pragma once

#include "pym/gui/GuiObject.h"

namespace Pym {

// Lays out a start piece, a middle piece and an end piece along an axis of a layout: the two
// ends `endExtent` long (never more than half the length each), the middle filling what is
// left, all three across the full breadth. Missing pieces are skipped.
void ArrangeInThree(const GuiObject& layout, bool horizontal, GuiObject* start, GuiObject* middle,
                    GuiObject* end, int endExtent);

}  // namespace Pym
