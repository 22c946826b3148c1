#pragma once

#include <string>

#include "pym/core/ValueTypes.h"
#include "pym/gui/PopupMenuWindow.h"

namespace Pym {

// A small popup that shows one line of text: its child named "Text" with a border around it.
// It stays open when the focus leaves it; whoever showed it hides it.
class ToolTip : public PopupMenuWindow {
public:
    // The document every object's own tooltip is built from, its "Text" replaced.
    static constexpr const char* kDocument = "XML/Main/ToolTip.xml";

    ToolTip();

    // The text object, or null when the document has none.
    GuiObject* TextObject() const { return text_; }
    int XBorderSize() const { return xBorder_; }
    int YBorderSize() const { return yBorder_; }

    bool DrawSelf(Gfx::DrawContext& context) override;
    void OnMouseMove(Signal::MouseMove& signal) override;
    void OnLeftButtonDown(Signal::LeftButtonDown& signal) override;

protected:
    void CreateFromXml(TiXmlElement* element) override;

private:
    // The skin's colours; desktops here have no system tooltip colour to take.
    void ReadColours(const TiXmlElement* element);

    GuiObject* text_ = nullptr;
    int xBorder_ = 0, yBorder_ = 0;
    ColourValue background_{255, 0x28, 0x2C, 0x36};
    ColourValue border_{255, 0x34, 0x39, 0x45};
};

// Makes every object's tooltip from ToolTip::kDocument. Installed when the program starts;
// tests call it themselves.
void InstallToolTipFactory();

}  // namespace Pym
