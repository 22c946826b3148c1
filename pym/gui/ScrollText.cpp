#include "pym/gui/ScrollText.h"

#include <algorithm>
#include <cmath>

#include "pym/gfx/DrawContext.h"
#include "pym/gfx/TextLayout.h"
#include "pym/gui/OwnChildElement.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<ScrollText>("Pym::ScrollText", "$PYM/Objects/ScrollText/ScrollText.xml");

// How long automatic scrolling rests at either end.
constexpr int kPauseMs = 1500;
// Ticks stop while the text has nowhere to go; the time without them is not scrolled.
constexpr int kLongestStepMs = 100;

}  // namespace

// The whole text, as tall as it wraps at its width.
class ScrollText::Page : public GuiObject {
public:
    Page() : GuiObject(/*notSelectable=*/1) { SetName("ScrollTextPage"); }

    bool DrawSelf(Gfx::DrawContext& context) override {
        if (!font || text.empty() || GetWidth() <= 0) return true;
        return context.DrawString(*font, text,
                                  {static_cast<float>(GetX()), static_cast<float>(GetY()),
                                   static_cast<float>(GetWidth()), static_cast<float>(GetHeight())},
                                  colour, Gfx::TextAlignment::Near, Gfx::TextTrimming::None);
    }
    int Measure(int width) const {
        if (!font || text.empty() || width <= 0) return 0;
        return static_cast<int>(std::ceil(Gfx::TextLayout::Measure(*font, text, width).height));
    }

    std::string text;
    Gfx::FontPtr font;
    ColourValue colour;
};

ScrollText::ScrollText() : page_(std::make_unique<Page>()) {
    SubscribeTicks();
    SetContent(page_.get());
}

ScrollText::~ScrollText() {
    SetContent(nullptr);
}

bool ScrollText::LoadFromXml(TiXmlElement* element) {
    if (!ClippedWindow::LoadFromXml(element)) return false;
    ReadAttribute(page_->text, element, "Text", true);
    TiXmlElement* fontElement = OwnChildElement(*this, element, "Font");
    if (!fontElement) ReportXmlError(element, "Font");
    FontPtr description;
    ReadFont(description, fontElement);
    page_->font = std::make_shared<Gfx::Font>(*description, 0, 0);
    ColourPtr colour;
    ReadAttribute(colour, element, "Color", true);
    page_->colour = *colour;
    ReadAttribute(speed_, element, "ScrollSpeed");
    FitPage();
    return true;
}

void ScrollText::SetText(const std::string& text) {
    page_->text = text;
    FitPage();
    ScrollTo(0);
}

const std::string& ScrollText::GetText() const {
    return page_->text;
}

int ScrollText::Range() const {
    return std::max(page_->GetHeight() - GetHeight(), 0);
}

void ScrollText::ScrollTo(int y) {
    SetScroll(0, std::clamp(y, 0, Range()), GetWidth(), GetHeight());
    autoOffset_ = ScrollY();
    Redraw();
}

void ScrollText::FitPage() {
    page_->Move(0, 0);
    page_->Resize(GetWidth(), std::max(page_->Measure(GetWidth()), GetHeight()));
    SetScroll(0, std::clamp(ScrollY(), 0, Range()), GetWidth(), GetHeight());
}

bool ScrollText::Resize(int width, int height) {
    if (!ClippedWindow::Resize(width, height)) return false;
    // Setting the scroll resizes as well: fit once.
    if (fitting_) return true;
    fitting_ = true;
    FitPage();
    fitting_ = false;
    return true;
}

void ScrollText::OnMouseWheel(Signal::MouseWheel& signal) {
    if (!IsVisible() || !HitTestLocal(signal.x, signal.y)) return;
    const int notches = wheel_.Take(signal.delta);
    if (notches == 0 || !page_->font) return;
    // Three lines a notch, turned away from the user towards the top.
    const int line = static_cast<int>(std::ceil(page_->font->PixelSize() * 1.2));
    ScrollTo(ScrollY() - notches * 3 * line);
}

bool ScrollText::NeedsTicks() const {
    return ClippedWindow::NeedsTicks() || (speed_ > 0.0f && Range() != 0 && IsVisibleRecursive());
}

void ScrollText::OnTimer(Signal::Timer& signal) {
    ClippedWindow::OnTimer(signal);
    const int now = signal.elapsedMs;
    const int last = lastTickMs_;
    lastTickMs_ = now;
    if (speed_ <= 0.0f || Range() == 0 || last < 0 || !IsVisibleRecursive()) return;
    if (pauseUntilMs_ >= 0) {
        if (now < pauseUntilMs_) return;
        pauseUntilMs_ = -1;
        // Rested at the end: start again from the top.
        if (ScrollY() >= Range()) {
            ScrollTo(0);
            pauseUntilMs_ = now + kPauseMs;
            return;
        }
    }
    autoOffset_ = std::min(autoOffset_ + speed_ * std::min(now - last, kLongestStepMs) / 1000.0,
                           double(Range()));
    const int y = static_cast<int>(autoOffset_);
    if (y != ScrollY()) {
        const double kept = autoOffset_;
        ScrollTo(y);
        autoOffset_ = kept;
    }
    if (y >= Range()) pauseUntilMs_ = now + kPauseMs;
}

}  // namespace Pym
