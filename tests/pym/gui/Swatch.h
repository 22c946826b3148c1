#pragma once

#include "pym/gfx/DrawContext.h"
#include "pym/gui/GuiObject.h"
#include "pym/gui/RegisterType.h"

namespace Testing {

// A leaf that fills its rectangle with its "Colour" and counts how often it was drawn.
class Swatch : public Pym::GuiObject {
public:
    bool DrawSelf(Pym::Gfx::DrawContext& context) override {
        ++draws;
        return context.FillRect(
            {float(GetX()), float(GetY()), float(GetWidth()), float(GetHeight())}, colour);
    }
    void OnLeftButtonDown(Pym::Signal::LeftButtonDown& signal) override {
        ++presses;
        lastX = signal.x;
        lastY = signal.y;
    }
    void OnKeyPress(Pym::Signal::KeyPress& signal) override { keys.push_back(signal.key); }

    Pym::ColourValue colour;
    int draws = 0;
    int presses = 0;
    int lastX = -1, lastY = -1;
    std::vector<int> keys;

protected:
    bool LoadFromXml(TiXmlElement* element) override {
        if (!GuiObject::LoadFromXml(element)) return false;
        Pym::ColourPtr read;
        if (ReadAttribute(read, element, "Colour")) colour = *read;
        return true;
    }
};

inline const bool swatchRegistered = Pym::RegisterType<Swatch>("Test::Swatch", "");

}  // namespace Testing
