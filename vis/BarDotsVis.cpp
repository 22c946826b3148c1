#include "vis/BarDotsVis.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kDotShareOfSlot = 0.5f;
constexpr float kDotShareOfHeight = 0.8f;
constexpr int kRestingAccentAlpha = 80;
}  // namespace

BarDotsVis::BarDotsVis(ValueSource barPhase, std::function<int()> beats)
    : barPhase_(std::move(barPhase)), beats_(std::move(beats)) {}

bool BarDotsVis::LoadFromXml(TiXmlElement* element) {
    if (!VisBase::LoadFromXml(element)) return false;
    ReadVisColour(colour_, element, "Color");
    ReadVisColour(accent_, element, "AccentColor");
    ReadVisColour(background_, element, "Background");
    return true;
}

void BarDotsVis::Sample() {
    dots_ = std::clamp(beats_ ? beats_() : 1, 1, kMostDots);
    const float phase = barPhase_ ? barPhase_() : 1.0f;
    lit_ = std::isfinite(phase) && phase >= 0.0f && phase < 1.0f
               ? std::min(static_cast<int>(phase * static_cast<float>(dots_)), dots_ - 1)
               : -1;
}

void BarDotsVis::Redraw() {
    const int dots = dots_, lit = lit_;
    Sample();
    if (dots != dots_ || lit != lit_) GuiObject::Redraw();
}

Pym::Gfx::Rect BarDotsVis::DotRect(int index, int count, int x, int y, int w, int h) {
    const float slot = static_cast<float>(w) / static_cast<float>(std::max(count, 1));
    const float size = std::min(slot * kDotShareOfSlot, static_cast<float>(h) * kDotShareOfHeight);
    const float centre = static_cast<float>(x) + slot * (static_cast<float>(index) + 0.5f);
    return {centre - size / 2.0f, static_cast<float>(y) + (static_cast<float>(h) - size) / 2.0f,
            size, size};
}

void BarDotsVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    Pym::ColourValue restingAccent = accent_;
    restingAccent.alpha = kRestingAccentAlpha;
    for (int i = 0; i < dots_; ++i) {
        const bool accented = i == 0, lit = i == lit_;
        const Pym::ColourValue& colour =
            accented ? (lit ? accent_ : restingAccent) : (lit ? colour_ : background_);
        context.FillEllipse(DotRect(i, dots_, x, y, w, h), colour);
    }
}
