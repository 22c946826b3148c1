#include "pym/gui/ScrollWindow.h"

#include <algorithm>
#include <cmath>

#include "pym/gui/ObjectCreation.h"
#include "pym/gui/OwnChildElement.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<ScrollWindow>("Pym::ScrollWindow", "$PYM/Objects/ScrollWindow/ScrollWindow.xml");

// A size to take a share of: an empty content counts as one pixel.
float ShareBase(int extent) {
    return static_cast<float>(extent == 0 ? 1 : extent);
}

}  // namespace

ScrollWindow::ScrollWindow() : viewport_(std::make_unique<ClippedWindow>()) {
    viewport_->SetName("Viewport");
    AddChild(viewport_.get(), false);
}

ScrollWindow::~ScrollWindow() {
    viewport_.reset();
}

bool ScrollWindow::LoadFromXml(TiXmlElement* element) {
    if (!GridLayout::LoadFromXml(element)) return false;
    std::string bars;
    ReadAttribute(bars, element, "ScrollBars", true);
    ReadAttribute(spacer_, element, "InterBarSpacer");
    spacer_ = std::max(spacer_, 0);
    if (barX_ || barY_) return true;
    if (bars == "Both" || bars == "Horizontal") barX_ = BuildBar(element, "ScrollBarX", smallX_);
    if (bars == "Both" || bars == "Vertical") barY_ = BuildBar(element, "ScrollBarY", smallY_);
    if (!barX_ && !barY_) ReportXmlError(element, "ScrollBars");
    LayoutParts();
    return true;
}

ScrollBar* ScrollWindow::BuildBar(TiXmlElement* element, const std::string& tag,
                                  int& smallAxisSize) {
    TiXmlElement* holder = OwnChildElement(*this, element, tag);
    TiXmlElement* definition = holder ? holder->FirstChildElement() : nullptr;
    if (!definition) ReportXmlError(element, tag);
    definition = ResolveBaseXml(definition);
    std::unique_ptr<GuiObject> made =
        CreateNamedObject(definition->ValueStr(), tag, this, definition);
    GuiObject* built = made.get();
    if (made) Adopt(std::move(made));
    auto* bar = dynamic_cast<ScrollBar*>(built);
    if (!bar) ReportXmlError(holder, "Pym::ScrollBar");
    smallAxisSize = bar->SmallAxisSize();
    ReadAttribute(smallAxisSize, holder, "SmallAxisSize");
    const bool horizontal = tag == "ScrollBarX";
    ScrollObject* scroller = bar->GetScrollObject();
    // A window that did not follow its bar would be no use: the bar always reports.
    scroller->SetCallbacksOn(true);
    scroller->ConnectSlot(Signal::ScrollObjectSignal::Id(), nullptr,
                          [this, horizontal](Signal::Base&, GuiObject*) { FollowBar(horizontal); });
    AddChild(bar, false);
    return bar;
}

void ScrollWindow::AddToLayout(GuiObject* child, TiXmlElement* element, AnimationPtr) {
    std::string width, height;
    if (ReadAttribute(width, element, "Width")) skinWidth_ = GridVal(width);
    if (ReadAttribute(height, element, "Height")) skinHeight_ = GridVal(height);
    skinContent_ = child;
    SetContent(child);
}

// --- content and offsets ------------------------------------------------------------------

int ScrollWindow::RangeX() const {
    const GuiObject* content = GetContent();
    return content ? std::max(content->GetWidth() - viewport_->GetWidth(), 0) : 0;
}

int ScrollWindow::RangeY() const {
    const GuiObject* content = GetContent();
    return content ? std::max(content->GetHeight() - viewport_->GetHeight(), 0) : 0;
}

void ScrollWindow::SetContent(GuiObject* content) {
    const GuiObject* old = GetContent();
    const float shareX = ScrollX() / ShareBase(old ? old->GetWidth() : 0);
    const float shareY = ScrollY() / ShareBase(old ? old->GetHeight() : 0);
    viewport_->SetContent(content);
    FitContent(viewport_->GetWidth(), viewport_->GetHeight());
    const int width = content ? content->GetWidth() : 0,
              height = content ? content->GetHeight() : 0;
    // Offsets beyond the new content's range would show nothing but empty space.
    const int x = std::clamp(static_cast<int>(shareX * width), 0, RangeX());
    const int y = std::clamp(static_cast<int>(shareY * height), 0, RangeY());
    viewport_->SetScroll(x, y, viewport_->GetWidth(), viewport_->GetHeight());
    UpdateBars();
    Redraw();
}

void ScrollWindow::ContentChanged() {
    FitContent(viewport_->GetWidth(), viewport_->GetHeight());
    ScrollTo(ScrollX(), ScrollY());
}

void ScrollWindow::ScrollTo(int x, int y) {
    viewport_->SetScroll(std::clamp(x, 0, RangeX()), std::clamp(y, 0, RangeY()),
                         viewport_->GetWidth(), viewport_->GetHeight());
    UpdateBars();
    Redraw();
}

void ScrollWindow::SetLineSize(int pixels) {
    lineSize_ = std::max(pixels, 1);
    UpdateBars();
}

void ScrollWindow::FitContent(int viewportWidth, int viewportHeight) {
    GuiObject* content = GetContent();
    if (!content) return;
    int width = content->GetWidth(), height = content->GetHeight();
    if (content == skinContent_) {
        width =
            static_cast<int>(std::lround(viewportWidth * skinWidth_.percentage + skinWidth_.units));
        height = static_cast<int>(
            std::lround(viewportHeight * skinHeight_.percentage + skinHeight_.units));
    }
    content->Resize(barX_ ? std::max(width, 0) : viewportWidth,
                    barY_ ? std::max(height, 0) : viewportHeight);
    content->Relayout();
}

void ScrollWindow::FollowBar(bool horizontal) {
    // The bar stays where the user put it; only the content moves.
    ScrollBar* bar = horizontal ? barX_ : barY_;
    const float place = bar->GetScrollObject()->BarPosition();
    int x = ScrollX(), y = ScrollY();
    if (horizontal)
        x = static_cast<int>(std::lround(place * RangeX()));
    else
        y = static_cast<int>(std::lround(place * RangeY()));
    viewport_->SetScroll(x, y, viewport_->GetWidth(), viewport_->GetHeight());
    Redraw();
}

void ScrollWindow::UpdateBars() {
    const GuiObject* content = GetContent();
    auto update = [&](ScrollBar* bar, int visible, int extent, int offset, int range) {
        if (!bar) return;
        ScrollObject* scroller = bar->GetScrollObject();
        scroller->SetBarShare(extent > 0 ? std::min(1.0f, static_cast<float>(visible) / extent)
                                         : 1.0f);
        scroller->SetBarPosition(range > 0 ? static_cast<float>(offset) / range : 0.0f);
        scroller->SetStepShare(range > 0 ? static_cast<float>(lineSize_) / range : 1.0f);
    };
    update(barX_, viewport_->GetWidth(), content ? content->GetWidth() : 0, ScrollX(), RangeX());
    update(barY_, viewport_->GetHeight(), content ? content->GetHeight() : 0, ScrollY(), RangeY());
}

// --- layout -------------------------------------------------------------------------------

void ScrollWindow::LayoutParts() {
    const int width = GetWidth(), height = GetHeight();
    const int viewWidth = std::max(width - (barY_ ? smallY_ + spacer_ : 0), 0);
    const int viewHeight = std::max(height - (barX_ ? smallX_ + spacer_ : 0), 0);
    viewport_->Move(0, 0);
    viewport_->Resize(viewWidth, viewHeight);
    FitContent(viewWidth, viewHeight);
    viewport_->SetScroll(std::clamp(ScrollX(), 0, RangeX()), std::clamp(ScrollY(), 0, RangeY()),
                         viewWidth, viewHeight);
    if (barY_) {
        barY_->Move(width - smallY_, 0);
        barY_->Resize(smallY_, viewHeight);
        barY_->Relayout();
    }
    if (barX_) {
        barX_->Move(0, height - smallX_);
        barX_->Resize(viewWidth, smallX_);
        barX_->Relayout();
    }
    UpdateBars();
}

bool ScrollWindow::Resize(int width, int height) {
    if (!GridLayout::Resize(width, height)) return false;
    LayoutParts();
    return true;
}

void ScrollWindow::Relayout() {
    GridLayout::Relayout();
    LayoutParts();
}

void ScrollWindow::OnMouseWheel(Signal::MouseWheel& signal) {
    GridLayout::OnMouseWheel(signal);
    // Over a bar, the bar itself takes the wheel.
    if (!IsVisible() || !viewport_->HitTestLocal(signal.x, signal.y)) return;
    const int notches = wheel_.Take(signal.delta);
    if (notches == 0) return;
    // Whole lines of content, not the bar's coarser pixels.
    if (barY_)
        ScrollTo(ScrollX(), ScrollY() - notches * lineSize_);
    else
        ScrollTo(ScrollX() - notches * lineSize_, ScrollY());
}

}  // namespace Pym
