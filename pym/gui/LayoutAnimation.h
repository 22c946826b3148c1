#pragma once

namespace Pym {

class GridLayout;

// Plays the keyframes of a grid layout's children: restarted by the layout, stepped by the
// window's timer until every keyframe has fired.
class LayoutAnimation {
public:
    // Clears every keyframe's fired mark, starts the clock and takes the first step.
    void Restart(GridLayout& layout);
    // Fires the keyframes that are due.
    void Step(GridLayout& layout);
    bool IsAnimating() const { return animating_; }

private:
    bool animating_ = false;
    double startSeconds_ = 0.0;
};

}  // namespace Pym
