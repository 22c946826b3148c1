#include "pym/gui/CarouselGeometry.h"

#include <algorithm>
#include <cmath>

namespace Pym {

void CarouselGeometry::SetFocusShare(float share) {
    focus_ = std::clamp(share, kSmallestFocus, kLargestFocus);
}

CarouselSlot CarouselGeometry::SlotAt(float distance) const {
    const float steps = std::fabs(distance);
    const float side = distance < 0.0f ? -1.0f : 1.0f;
    const float neighbour = NeighbourShare();
    const float near = std::min(steps, 1.0f);  // the part of the way to the first neighbour
    const float beyond = std::max(steps - 1.0f, 0.0f);

    const float width = focus_ + (neighbour - focus_) * near;
    const float height = kFullHeight + (kNeighbourScale - kFullHeight) * near;
    // The first neighbour is tucked a quarter of its width behind the focused item, which
    // covers it; further ones lie side by side, since fainter items would show through each
    // other.
    const float centre =
        0.5f + side * ((focus_ / 2.0f + neighbour / 4.0f) * near + beyond * neighbour);
    const float x = centre - width / 2.0f;

    const float inside = std::clamp(std::min(x + width, 1.0f) - std::max(x, 0.0f), 0.0f, width);
    const float alpha = std::pow(kFadePerStep, steps) * (width > 0.0f ? inside / width : 0.0f);
    return {x, (kFullHeight - height) / 2.0f, width, height, alpha};
}

}  // namespace Pym
