#pragma once

#include <memory>
#include <string>

#include "pym/core/ValueTypes.h"
#include "pym/gfx/TextFormat.h"

namespace Pym::Gfx {

class Font;
class Image;
class Region;

struct Rect {
    float x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
    bool Empty() const { return !(width > 0 && height > 0); }
};

// The smallest rectangle holding both; an empty one adds nothing.
Rect Union(const Rect& a, const Rect& b);
// What the two share; empty when they share nothing.
Rect Intersection(const Rect& a, const Rect& b);
// Every pixel the rectangle touches once grown by `margin` on each side: whole pixels.
Rect PixelsAround(const Rect& rect, float margin);

struct Point {
    float x = 0, y = 0;
};

struct Pen {
    ColourValue colour;
    float width = 1.0f;
};

// What objects draw through. The context carries a current alpha that multiplies everything
// drawn, and a world transform. The rendering layer implements it on a real surface; tests
// record the calls.
class DrawContext {
public:
    virtual ~DrawContext() = default;

    // Multiplies the current alpha by `alpha` (the result clamped to [0, 1]) and returns the
    // alpha it replaced, for PopAlpha.
    virtual float PushAlpha(float alpha) = 0;
    virtual void PopAlpha(float saved) = 0;
    virtual float Alpha() const = 0;

    virtual void Translate(float dx, float dy) = 0;
    virtual void Rotate(float degrees) = 0;
    virtual void Scale(float sx, float sy) = 0;

    // Intersects the clip with the rectangle until the matching PopClip.
    virtual void PushClip(const Rect& rect) = 0;
    virtual void PopClip() = 0;

    virtual bool FillRect(const Rect& rect, const ColourValue& colour) = 0;
    virtual bool FillGradient(const Rect& rect, const ColourValue& from, const ColourValue& to) = 0;
    virtual bool DrawLine(const Pen& pen, Point from, Point to) = 0;
    virtual bool Draw3DRect(const Rect& rect, const Pen& light, const Pen& dark) = 0;

    // Shapes for displays. A context that cannot draw them smoothly approximates them with the
    // primitives above.
    // Joined segments through the points (count of at least 2).
    virtual bool DrawPolyline(const Pen& pen, const Point* points, int count);
    // The ellipse inside the rectangle, filled.
    virtual bool FillEllipse(const Rect& rect, const ColourValue& colour);
    // A rectangle with corners rounded by `radius`, filled.
    virtual bool FillRoundedRect(const Rect& rect, float radius, const ColourValue& colour);
    // An arc of the circle around `centre`, from one angle to the other (degrees, clockwise
    // from three o'clock, as the y axis points down).
    virtual bool DrawArc(const Pen& pen, Point centre, float radius, float fromDegrees,
                         float toDegrees);

    // Replaces the clip by the region: a repaint touches nothing else.
    virtual void SetClip(const Region& region) = 0;
    // Whether nothing of the rectangle (in user space) can show through the clip, so drawing
    // it (and laying out its text) can be skipped. Contexts without a clip show everything.
    virtual bool OutsideClip(const Rect& /*rect*/) const { return false; }
    // Whether all of the rectangle (in user space) shows through the clip, so what is drawn
    // there replaces everything drawn before. Contexts without a clip show everything.
    virtual bool InsideClip(const Rect& /*rect*/) const { return true; }
    // Draws the picture scaled into the rectangle; interpolation 0 keeps the context's mode.
    virtual bool DrawImage(const Image& image, const Rect& rect, int interpolation) = 0;
    // Whether a picture copied over `area` (in this context's coordinates) lands pixel for
    // pixel: not where the context is scaled or moved by a fraction, nor where it draws no
    // pixels at all.
    virtual bool PixelAligned(const Rect& /*area*/) const { return false; }
    // A context drawing into `layer`, a picture to be copied over `area` of this one, in this
    // context's coordinates; only asked where PixelAligned holds.
    virtual std::unique_ptr<DrawContext> LayerContext(Image& /*layer*/, const Rect& /*area*/) {
        return nullptr;
    }
    // The rectangle (in user space) where it lands on the target's pixels.
    virtual Rect DeviceRect(const Rect& rect) const { return rect; }
    // Copies what the target shows under `area` (whole pixels, in user space) into `layer`, a
    // picture of the area's size, where the clip lets it through; the rest of the layer stays.
    // 1 when the clip let all of it through, 0 when not, -1 where the target lends no pixels
    // that land one for one.
    virtual int CopyUnder(Image& /*layer*/, const Rect& /*area*/) { return -1; }
    // The other way: copies `layer` back over `area` (whole pixels, in device space) where
    // the clip lets it through, replacing what was there; false where it cannot.
    virtual bool CopyOver(const Image& /*layer*/, const Rect& /*area*/) { return false; }
    // Draws text wrapped and clipped to the rectangle.
    virtual bool DrawString(const Font& font, const std::string& text, const Rect& rect,
                            const ColourValue& colour, TextAlignment alignment,
                            TextTrimming trimming) = 0;
};

// Multiplies the context's alpha for a scope.
class AlphaScope {
public:
    AlphaScope(DrawContext& context, float alpha)
        : context_(context), saved_(context.PushAlpha(alpha)) {}
    ~AlphaScope() { context_.PopAlpha(saved_); }
    AlphaScope(const AlphaScope&) = delete;
    AlphaScope& operator=(const AlphaScope&) = delete;

private:
    DrawContext& context_;
    float saved_;
};

}  // namespace Pym::Gfx
