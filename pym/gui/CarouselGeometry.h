#pragma once

namespace Pym {

// Where a carousel shows an item, as shares of the carousel's width and height, and how
// strongly: the focused item large in the middle at full height, its neighbours two thirds
// of its size and fainter with distance, the nearest ones tucked a quarter of their width
// behind the focused item. A focused share of at most one half leaves room for one whole
// neighbour on each side; the smallest share, two sevenths, for two.
struct CarouselSlot {
    float x, y, width, height;
    float alpha;
};

class CarouselGeometry {
public:
    static constexpr float kLargestFocus = 0.5f;
    static constexpr float kSmallestFocus = 0.2857143f;
    static constexpr float kNeighbourScale = 0.6666667f;
    static constexpr float kFullHeight = 1.0f;
    // Each step away from the focus keeps this much of the alpha.
    static constexpr float kFadePerStep = 0.55f;

    explicit CarouselGeometry(float focusShare = 0.4f) { SetFocusShare(focusShare); }

    // Limited to [kSmallestFocus, kLargestFocus].
    void SetFocusShare(float share);
    float FocusShare() const { return focus_; }
    float NeighbourShare() const { return focus_ * kNeighbourScale; }
    float Remainder() const { return 1.0f - focus_; }

    // The slot of an item `distance` items from the focus (negative: to the left); fractional
    // distances lie between, so a glide from one item to the next is smooth. An item that
    // sticks out of the carousel fades by the part of it outside.
    CarouselSlot SlotAt(float distance) const;

private:
    float focus_ = 0.4f;
};

}  // namespace Pym
