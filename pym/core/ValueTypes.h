#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Pym {

// A colour as skins write it ("red,green,blue,alpha"), stored alpha first. Shared, so an
// object and its copies can hold one colour.
struct ColourValue {
    std::int32_t alpha = 255;
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;

    bool operator==(const ColourValue&) const = default;
};
using ColourPtr = std::shared_ptr<ColourValue>;

// One style per font; the values are the usual font style flags.
enum FontStyle : int {
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8,
};

// How a font's size is meant: in pixels, or relative to the reference window's width or
// height (the rendering layer turns it into a real font).
enum FontSizeConversion : int {
    FontSizeHeight = 0,
    FontSizeWidth = 1,
    FontSizePoint = 2,
};

struct FontDescription {
    std::string family;
    float size = 0.0f;
    FontStyle style = FontStyleRegular;
    FontSizeConversion conversion = FontSizeHeight;

    bool operator==(const FontDescription&) const = default;
};
using FontPtr = std::shared_ptr<FontDescription>;

}  // namespace Pym
