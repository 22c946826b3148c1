#include "vis/VisBase.h"

#include "pym/core/XMLLoadSave.h"

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
    const double seconds = lastTickMs_ < 0 ? 0.0 : (now - lastTickMs_) / 1000.0;
    lastTickMs_ = now;
    // Between two read-outs only what eases asks for a picture; the rest of the screen stays.
    if (IsVisible() && Tick(seconds)) GuiObject::Redraw();
}

void ReadVisColour(Pym::ColourValue& colour, const TiXmlElement* element, const char* name) {
    Pym::ColourPtr read;
    if (element && Pym::XMLLoadSave::ReadAttribute(read, element, name) && read) colour = *read;
}
