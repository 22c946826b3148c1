#pragma once

#include <map>
#include <memory>

#include "pym/gui/LayoutAnimation.h"
#include "pym/gui/LayoutBase.h"
#include "pym/gui/LayoutObject.h"

namespace Pym {

// A container that places each child by four lengths relative to its own size, so a skin
// scales with its window. Relayout is skipped while the container's rectangle is unchanged.
class GridLayout : public LayoutBase {
public:
    using LayoutMap = std::map<GuiObject*, std::shared_ptr<LayoutObject>>;

    explicit GridLayout(int notSelectable = 1, int sizeLocked = 0)
        : LayoutBase(notSelectable, sizeLocked) {}

    void AddToLayout(GuiObject* child, TiXmlElement* element, AnimationPtr animation) override;
    void PlaceFixed(GuiObject* child, const TiXmlElement* element) override;
    void PlaceExisting(GuiObject* child, const TiXmlElement* element) override;
    void ResetCachedRect() override { cachedRect_ = {-1, -1, -1, -1}; }
    const LayoutMap& GetLayoutMap() const { return layout_; }
    // Where the child is placed, or null for one this grid does not place.
    LayoutObject* PlaceOf(GuiObject* child) const {
        auto found = layout_.find(child);
        return found == layout_.end() ? nullptr : found->second.get();
    }
    virtual void PlaceChild(GuiObject* child, const GridVal& x, const GridVal& y,
                            const GridVal& width, const GridVal& height);
    virtual void PlaceChildTruncated(GuiObject* child, const GridVal& x, const GridVal& y,
                                     const GridVal& width, const GridVal& height);
    virtual void AddChildAt(GuiObject* child, const GridVal& x, const GridVal& y,
                            const GridVal& width, const GridVal& height,
                            TiXmlElement* element = nullptr, AnimationPtr animation = nullptr);
    virtual void AddChildAtFractions(GuiObject* child, float x, float y, float width, float height,
                                     TiXmlElement* element = nullptr,
                                     AnimationPtr animation = nullptr);
    // Gives the child the animation of the "Object" template named `name`.
    virtual void RestartAnimation(GuiObject* child, const std::string& name);
    virtual void AddLayoutObject(GuiObject* child, std::shared_ptr<LayoutObject> layoutObject);
    void SlotRestartAnimation(Signal::ScreenActivation& signal);

    // Plays the children's keyframes from the start.
    void RestartLayoutAnimation() {
        SubscribeTicks();
        animation_.Restart(*this);
    }
    bool IsAnimating() const { return animation_.IsAnimating(); }

    void Relayout() override;
    void OnTimer(Signal::Timer& signal) override;
    bool NeedsTicks() const override;

protected:
    void ForgetChild(GuiObject* child) override;

private:
    LayoutMap layout_;
    Rect cachedRect_{-1, -1, -1, -1};
    LayoutAnimation animation_;
};

}  // namespace Pym
