#pragma once

#include <pango/pango.h>

#include <memory>
#include <string>

#include "pym/core/ValueTypes.h"

namespace Pym::Gfx {

// A font ready to draw with: a skin's font description turned into a pixel size. Point
// sizes are pixels; height and width sizes are percentages of a reference extent (the window
// the text lives in), so text scales with its window. A family that is not installed falls
// back to the system's choice for it.
class Font {
public:
    Font(const Pym::FontDescription& description, double referenceWidth, double referenceHeight);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    static double PixelSize(const Pym::FontDescription& description, double referenceWidth,
                            double referenceHeight);

    const Pym::FontDescription& Description() const { return description_; }
    double PixelSize() const { return pixelSize_; }
    const PangoFontDescription* Pango() const { return pango_; }

private:
    Pym::FontDescription description_;
    double pixelSize_;
    PangoFontDescription* pango_;
};

using FontPtr = std::shared_ptr<Font>;

}  // namespace Pym::Gfx
