#include "pym/gui/LayoutAnimation.h"

#include <vector>

#include "pym/core/Clock.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/GridLayout.h"

namespace Pym {

namespace {

void Fire(GridLayout& layout, const LayoutObject& entry, const Keyframe& keyframe) {
    GuiObject* child = entry.child;
    if (keyframe.alpha) child->SetAlpha(*keyframe.alpha);
    if (!keyframe.signal.empty()) {
        if (auto signal = DllGlobalObjectFactoryInstance().MakeSignal(keyframe.signal))
            child->SendSignalToSelf(*signal);
    }
    if (keyframe.HasPlacement()) {
        // Keyframe positions shift the child's own fractions; sizes scale them.
        layout.PlaceChildTruncated(
            child, GridVal(0.0f, keyframe.x->percentage + entry.xPos.percentage),
            GridVal(0.0f, keyframe.y->percentage + entry.yPos.percentage),
            GridVal(0.0f, keyframe.width->percentage * entry.width.percentage),
            GridVal(0.0f, keyframe.height->percentage * entry.height.percentage));
    }
    child->Redraw();
}

}  // namespace

void LayoutAnimation::Restart(GridLayout& layout) {
    for (const auto& [child, entry] : layout.GetLayoutMap())
        if (entry->animation)
            for (Keyframe& keyframe : *entry->animation) keyframe.fired = false;
    startSeconds_ = ClockSeconds();
    animating_ = true;
    Step(layout);
}

void LayoutAnimation::Step(GridLayout& layout) {
    const double elapsed = ClockSeconds() - startSeconds_;
    // Held by copy: a keyframe's signal may change the layout.
    std::vector<std::shared_ptr<LayoutObject>> entries;
    for (const auto& [child, entry] : layout.GetLayoutMap())
        if (entry->animation) entries.push_back(entry);

    bool pending = false;
    for (const auto& entry : entries) {
        AnimationPtr animation = entry->animation;
        for (std::size_t i = 0; i < animation->size(); ++i) {
            Keyframe& keyframe = (*animation)[i];
            if (keyframe.fired) continue;
            if (keyframe.timeMs * 0.001 > elapsed) {
                pending = true;
                continue;
            }
            keyframe.fired = true;
            Fire(layout, *entry, keyframe);
        }
    }
    // Runs until the last keyframe has fired, however long the gaps between them.
    animating_ = pending;
}

}  // namespace Pym
