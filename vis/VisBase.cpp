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

bool VisBase::DrawSelf(Pym::Gfx::DrawContext& context) {
    if (GetWidth() > 0 && GetHeight() > 0)
        DrawVis(context, GetX(), GetY(), GetWidth(), GetHeight());
    return true;
}

void VisBase::OnTimer(Pym::Signal::Timer& signal) {
    const int now = signal.elapsedMs;
    if (moved_ && now - lastTickMs_ < kStepMs) return;
    double seconds = lastTickMs_ < 0 ? 0.0 : (now - lastTickMs_) / 1000.0;
    // Ticks pause while nothing moves: a movement that starts moves by one tick's time first.
    if (!moved_) seconds = std::min(seconds, kFirstStepSeconds);
    lastTickMs_ = now;
    // Between two read-outs only what eases asks for a picture; the rest of the screen stays.
    moved_ = IsVisible() && Tick(seconds);
    if (moved_) GuiObject::Redraw();
}

void ReadVisColour(Pym::ColourValue& colour, const TiXmlElement* element, const char* name) {
    Pym::ColourPtr read;
    if (element && Pym::XMLLoadSave::ReadAttribute(read, element, name) && read) colour = *read;
}
