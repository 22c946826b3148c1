#pragma once

#include <cairo.h>

#include <string>
#include <utility>
#include <vector>

#include "pym/core/ValueTypes.h"
#include "pym/gfx/Font.h"
#include "pym/gfx/TextFormat.h"

namespace Pym::Gfx {

struct TextBox {
    double x = 0, y = 0, width = 0, height = 0;
};

// Text measuring and drawing with Pango. Text is UTF-8 throughout; bytes that are not valid
// UTF-8 are shown as replacement characters rather than dropping the whole text. Measuring
// and drawing use the same unhinted metrics, so a measured box is the box that is drawn.
class TextLayout {
public:
    // The text's extent; with a layout width above 0 the text wraps at it.
    static TextBox Measure(const Font& font, const std::string& text, double layoutWidth = -1);

    // Bounds of character ranges (start, length), counted in characters, not bytes.
    static std::vector<TextBox> MeasureCharacterRanges(
        const Font& font, const std::string& text, const std::vector<std::pair<int, int>>& ranges);

    // The x of each of the (characters + 1) caret positions of one line of text, in character
    // order, and the line's extent, from a single layout: an edit box asks for all of them
    // after every change.
    struct CaretStops {
        std::vector<double> x;
        TextBox extent;
    };
    static CaretStops MeasureCaretStops(const Font& font, const std::string& text);

    // Draws the text wrapped and clipped to the box.
    static void Draw(cairo_t* cr, const Font& font, const std::string& text, const TextBox& box,
                     const Pym::ColourValue& colour, TextAlignment alignment,
                     TextTrimming trimming);

    static std::string ValidUtf8(const std::string& text);
};

}  // namespace Pym::Gfx
