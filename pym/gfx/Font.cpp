#include "pym/gfx/Font.h"

#include <algorithm>

namespace Pym::Gfx {

namespace {
// Keeps a broken size from asking the font system for an absurd or empty font.
constexpr double kMinPixels = 1.0;
constexpr double kMaxPixels = 2000.0;
}  // namespace

double Font::PixelSize(const Pym::FontDescription& description, double referenceWidth,
                       double referenceHeight) {
    double pixels = description.size;
    if (description.conversion == Pym::FontSizeWidth)
        pixels = description.size * 0.01 * referenceWidth;
    else if (description.conversion == Pym::FontSizeHeight)
        pixels = description.size * 0.01 * referenceHeight;
    if (!(pixels >= kMinPixels)) pixels = kMinPixels;  // also catches NaN
    return std::min(pixels, kMaxPixels);
}

Font::Font(const Pym::FontDescription& description, double referenceWidth, double referenceHeight)
    : description_(description),
      pixelSize_(PixelSize(description, referenceWidth, referenceHeight)),
      pango_(pango_font_description_new()) {
    pango_font_description_set_family(pango_, description.family.c_str());
    pango_font_description_set_absolute_size(pango_, pixelSize_ * PANGO_SCALE);
    pango_font_description_set_weight(
        pango_, description.style == Pym::FontStyleBold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(pango_, description.style == Pym::FontStyleItalic
                                                 ? PANGO_STYLE_ITALIC
                                                 : PANGO_STYLE_NORMAL);
}

Font::~Font() {
    pango_font_description_free(pango_);
}

}  // namespace Pym::Gfx
