#include "vis/VisBase.h"

#include <algorithm>

#include "pym/core/XMLLoadSave.h"

namespace {

constexpr double kFirstStepSeconds = 0.01;  // one tick
// Steps of a movement every other tick: 50 pictures a second look as smooth as 100 for
// needles that settle within a tenth of a second, and cost half.
constexpr int kStepMs = 20;

}  // namespace

void VisBase::Redraw() {
    Sample();
    GuiObject::Redraw();
}

Pym::Gfx::Rect VisBase::Area() const {
    return AreaOf(GetX(), GetY(), GetWidth(), GetHeight());
}

void VisBase::RedrawChanges() {
    Sample();
    RepaintChangedArea();
}

void VisBase::RepaintChangedArea() {
    // Out of sight the screen's pixels are not the display's any more.
    if (!IsVisibleRecursive()) {
        ForgetDrawn();
        return;
    }
    const Pym::Gfx::Rect changed = ChangedArea(Area());
    if (!changed.Empty())
        RedrawPart(static_cast<int>(changed.x) - GetX(), static_cast<int>(changed.y) - GetY(),
                   static_cast<int>(changed.width), static_cast<int>(changed.height));
}

bool VisBase::DrawSelf(Pym::Gfx::DrawContext& context) {
    if (GetWidth() <= 0 || GetHeight() <= 0) return true;
    // Outside the clip the last drawing stays: it is still the display's only where all that
    // changes since lies inside.
    const Pym::Gfx::Rect changed = ChangedArea(Area());
    const bool reaches =
        context.Alpha() >= 1.0f && (changed.Empty() || context.InsideClip(changed));
    DrawVis(context, GetX(), GetY(), GetWidth(), GetHeight());
    if (!reaches) ForgetDrawn();
    return true;
}

int VisBase::TickDelayMs() const {
    if (!moved_) return 0;
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - lastStep_);
    return std::max(kStepMs - static_cast<int>(since.count()), 0);
}

void VisBase::OnTimer(Pym::Signal::Timer& signal) {
    const int now = signal.elapsedMs;
    if (moved_ && now - lastTickMs_ < kStepMs) return;
    lastStep_ = std::chrono::steady_clock::now();
    double seconds = lastTickMs_ < 0 ? 0.0 : (now - lastTickMs_) / 1000.0;
    // Ticks pause while nothing moves: a movement that starts moves by one tick's time first.
    if (!moved_) seconds = std::min(seconds, kFirstStepSeconds);
    lastTickMs_ = now;
    // Between two read-outs only what eases asks for a picture; the rest of the screen stays.
    moved_ = IsVisible() && Tick(seconds);
    if (moved_) RepaintChangedArea();
}

void ReadVisColour(Pym::ColourValue& colour, const TiXmlElement* element, const char* name) {
    Pym::ColourPtr read;
    if (element && Pym::XMLLoadSave::ReadAttribute(read, element, name) && read) colour = *read;
}
