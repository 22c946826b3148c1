#pragma once

#include <memory>

#include "pym/core/GridVal.h"
#include "pym/gui/ClippedWindow.h"
#include "pym/gui/GridLayout.h"
#include "pym/gui/ScrollBar.h"
#include "pym/gui/WheelNotches.h"

namespace Pym {

// Shows a larger content through a viewport with scroll bars ("ScrollBars": "Both",
// "Vertical" or "Horizontal") along the right and bottom edges, "InterBarSpacer" pixels away
// from it. Each bar's bar stands for the visible share of the content; moving it scrolls,
// and so does the wheel over the content. The content is the object its "CreateObject"
// child makes, sized by that child's "Width" and "Height" relative to the viewport (so "2" is
// twice the view), or one set in code that keeps its own size; along an axis without a bar
// it always takes the viewport's size.
class ScrollWindow : public GridLayout {
public:
    ScrollWindow();
    ~ScrollWindow() override;

    // Shows another content, keeping the scroll position as a share of the content's size.
    void SetContent(GuiObject* content);
    GuiObject* GetContent() const { return viewport_->GetContent(); }
    // Call after the content changed its size: the offsets stay within it, the bars follow.
    void ContentChanged();
    void ScrollTo(int x, int y);
    int ScrollX() const { return viewport_->ScrollX(); }
    int ScrollY() const { return viewport_->ScrollY(); }
    // How far one step (an arrow button, a wheel notch) scrolls, in content pixels.
    void SetLineSize(int pixels);

    ClippedWindow* Viewport() const { return viewport_.get(); }
    ScrollBar* BarX() const { return barX_; }
    ScrollBar* BarY() const { return barY_; }

    void AddToLayout(GuiObject* child, TiXmlElement* element, AnimationPtr animation) override;
    bool Resize(int width, int height) override;
    void Relayout() override;
    void OnMouseWheel(Signal::MouseWheel& signal) override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    // Sizes the content for a viewport of this size.
    virtual void FitContent(int viewportWidth, int viewportHeight);

private:
    ScrollBar* BuildBar(TiXmlElement* element, const std::string& tag, int& smallAxisSize);
    // Places the viewport and the bars, fits the content and brings the bars up to date.
    void LayoutParts();
    void UpdateBars();
    // The bar of one axis moved: scroll to its place.
    void FollowBar(bool horizontal);
    int RangeX() const;
    int RangeY() const;

    std::unique_ptr<ClippedWindow> viewport_;
    // The skin's content and its size relative to the viewport.
    GuiObject* skinContent_ = nullptr;
    GridVal skinWidth_{0.0f, 1.0f}, skinHeight_{0.0f, 1.0f};
    ScrollBar* barX_ = nullptr;
    ScrollBar* barY_ = nullptr;
    int smallX_ = 0, smallY_ = 0;
    int spacer_ = 0;
    int lineSize_ = 40;
    WheelNotches wheel_;
};

}  // namespace Pym
