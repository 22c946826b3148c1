#include "pym/gui/Text.h"

#include <cmath>

#include "pym/core/Document.h"
#include "pym/gfx/DrawContext.h"
#include "pym/gui/OwnChildElement.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered = RegisterType<Text>("Pym::Text", "$PYM/Objects/Text/Text.xml");

// A missing value is reported with the usual XML error text; the text is then not built.
bool Missing(const TiXmlElement* element, const std::string& name) {
    Trace(XMLLoadSave::XmlErrorText(element, name));
    return false;
}

int WholePixels(double extent) {
    return static_cast<int>(std::ceil(extent));
}

// The text cut to at most `limit` characters, never inside a UTF-8 sequence.
std::string Capped(const std::string& text, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (++characters > limit) return text.substr(0, i);
    }
    return text;
}

}  // namespace

bool Text::LoadFromXml(TiXmlElement* element) {
    if (!GridLayout::LoadFromXml(element)) return false;
    int stretchable = 0;
    ReadAttribute(stretchable, element, "Stretchable", true);
    stretchable_ = stretchable != 0;
    std::string alignment;
    ReadAttribute(alignment, element, "Alignment");
    alignment_ = alignment == "Centered" ? Centered : Left;
    if (!ReadAttribute(text_, element, "Text")) return Missing(element, "Text");
    text_ = Capped(text_, kMaxCharacters);

    TiXmlElement* fontElement = OwnChildElement(*this, element, "Font");
    if (!fontElement) return Missing(element, "Font");
    FontPtr description;
    ReadFont(description, fontElement);
    const GuiObject* window = ReferenceWindow();
    fontHasReference_ = window || description->conversion == FontSizePoint;
    font_ = std::make_shared<Gfx::Font>(*description, window ? window->GetWidth() : 0,
                                        window ? window->GetHeight() : 0);

    ColourPtr colour;
    if (!ReadAttribute(colour, element, "Color")) return Missing(element, "Color");
    color_ = *colour;
    if (!ReadAttribute(colour, element, "SelectedColor")) return Missing(element, "SelectedColor");
    selectedColor_ = *colour;
    return true;
}

void Text::SetText(const std::string& text) {
    std::string capped = Capped(text, kMaxCharacters);
    if (capped == text_) return;
    text_ = std::move(capped);
    Redraw();
}

const GuiObject* Text::ReferenceWindow() const {
    for (const GuiObject* up = GetParent(); up; up = up->GetParent())
        if (up->IsWindow()) return up;
    const Document* document = Document::Of(GetElement());
    return document ? document->LookupOwnerWindow() : nullptr;
}

void Text::RefreshFont() {
    if (!font_) return;
    const GuiObject* window = ReferenceWindow();
    if (!window) return;
    const Rect now{window->GetWidth(), window->GetHeight(), GetWidth(), GetHeight()};
    if (now == fontMadeFor_) return;
    fontMadeFor_ = now;
    fontHasReference_ = true;
    if (font_->Description().conversion == FontSizePoint) return;
    font_ = std::make_shared<Gfx::Font>(font_->Description(), now.x, now.y);
}

bool Text::Resize(int width, int height) {
    if (!GridLayout::Resize(width, height)) return false;
    if (FontNeedsRefresh()) RefreshFont();
    return true;
}

Gfx::TextBox Text::Measure() const {
    const double width = LayoutWidth();
    if (measured_.font != font_ || measured_.layoutWidth != width || measured_.text != text_) {
        measured_.box = Gfx::TextLayout::Measure(*font_, text_, width);
        measured_.font = font_;
        measured_.layoutWidth = width;
        measured_.text = text_;
    }
    return measured_.box;
}

void Text::OnLayoutReady() {
    GridLayout::OnLayoutReady();
    if (!font_) return;
    const Gfx::TextBox box = Measure();
    Resize(WholePixels(box.width) + 1, WholePixels(box.height) + 1);
}

bool Text::DrawSelf(Gfx::DrawContext& context) {
    // The enclosing window may have changed size without this text being resized.
    if (FontNeedsRefresh()) RefreshFont();
    if (!font_ || GetWidth() == 0 || GetHeight() == 0 || text_.empty()) return true;
    int y = GetY();
    if (CentresVertically()) y += GetHeight() / 2 - WholePixels(Measure().height) / 2;
    const Gfx::Rect box{static_cast<float>(GetX()), static_cast<float>(y),
                        static_cast<float>(GetWidth()), static_cast<float>(GetHeight())};
    const Gfx::TextAlignment horizontal =
        alignment_ == Centered ? Gfx::TextAlignment::Center : Gfx::TextAlignment::Near;
    return context.DrawString(*font_, text_, box, IsSelected() ? selectedColor_ : color_,
                              horizontal, Gfx::TextTrimming::None);
}

}  // namespace Pym
