#pragma once

#include <cstddef>
#include <string>

#include "pym/core/ValueTypes.h"
#include "pym/gfx/Font.h"
#include "pym/gfx/TextLayout.h"
#include "pym/gui/GridLayout.h"

namespace Pym {

// A line of text in the skin's font and colours (another colour while selected). Text is
// UTF-8. A stretchable text sizes its font relative to the window it is in, so it grows and
// shrinks with that window; a fixed one keeps the font it was loaded with.
class Text : public GridLayout {
public:
    enum Alignment { Left = 0, Centered = 1 };
    // Longest text a label keeps, in characters: more cannot be read in a skin, and every
    // character costs shaping time.
    static constexpr std::size_t kMaxCharacters = 4096;

    Text() = default;

    virtual const std::string& GetText() const { return text_; }
    virtual void SetText(const std::string& text);

    bool DrawSelf(Gfx::DrawContext& context) override;
    bool Resize(int width, int height) override;
    // Takes the size of its text, plus one pixel each way.
    void OnLayoutReady() override;

    bool IsStretchable() const { return stretchable_; }
    Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment) { alignment_ = alignment; }
    const Gfx::FontPtr& GetFont() const { return font_; }
    const ColourValue& GetColor() const { return color_; }
    const ColourValue& GetSelectedColor() const { return selectedColor_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    // The width at which measured text wraps; -1 for none.
    virtual double LayoutWidth() const { return -1; }
    virtual bool CentresVertically() const { return alignment_ == Centered; }
    // The text's extent, measured once per text, font and layout width.
    Gfx::TextBox Measure() const;
    // Remakes the font with the same description for the enclosing window's size.
    void RefreshFont();
    bool FontNeedsRefresh() const { return stretchable_ || !fontHasReference_; }

private:
    // The window the text is in (or, outside any window yet, the main window of its document).
    const GuiObject* ReferenceWindow() const;

    bool stretchable_ = false;
    Alignment alignment_ = Left;
    std::string text_;
    Gfx::FontPtr font_;
    ColourValue color_;
    ColourValue selectedColor_;
    // What the font was last made for, so drawing remakes it only after a change.
    Rect fontMadeFor_{-1, -1, -1, -1};
    // False while the font was made without any window to size it by (a text loaded before
    // the main window exists): it is remade once a window is found.
    bool fontHasReference_ = false;
    struct Measurement {
        Gfx::FontPtr font;
        double layoutWidth = -1;
        std::string text;
        Gfx::TextBox box;
    };
    mutable Measurement measured_;
};

}  // namespace Pym
