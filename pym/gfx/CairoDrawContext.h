#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "pym/gfx/DrawContext.h"
#include "pym/gfx/Image.h"

namespace Pym::Gfx {

// The drawing context on a picture in memory (a window's back buffer), through Cairo. The
// context's alpha multiplies every colour and picture drawn; a picture drawn at full alpha is
// copied straight, below it goes through a paint with alpha, and at 0 nothing is drawn.
class CairoDrawContext : public DrawContext {
public:
    explicit CairoDrawContext(Image& target);
    ~CairoDrawContext() override;
    CairoDrawContext(const CairoDrawContext&) = delete;
    CairoDrawContext& operator=(const CairoDrawContext&) = delete;

    float PushAlpha(float alpha) override;
    void PopAlpha(float saved) override;
    float Alpha() const override { return alpha_; }

    void Translate(float dx, float dy) override { cairo_translate(cr_, dx, dy); }
    void Rotate(float degrees) override;
    void Scale(float sx, float sy) override;

    void PushClip(const Rect& rect) override;
    void PopClip() override;
    void SetClip(const Region& region) override;

    bool FillRect(const Rect& rect, const ColourValue& colour) override;
    bool FillGradient(const Rect& rect, const ColourValue& from, const ColourValue& to) override;
    bool DrawLine(const Pen& pen, Point from, Point to) override;
    bool Draw3DRect(const Rect& rect, const Pen& light, const Pen& dark) override;
    bool DrawPolyline(const Pen& pen, const Point* points, int count) override;
    bool FillEllipse(const Rect& rect, const ColourValue& colour) override;
    bool FillRoundedRect(const Rect& rect, float radius, const ColourValue& colour) override;
    bool DrawArc(const Pen& pen, Point centre, float radius, float fromDegrees,
                 float toDegrees) override;
    bool DrawImage(const Image& image, const Rect& rect, int interpolation) override;
    bool DrawString(const Font& font, const std::string& text, const Rect& rect,
                    const ColourValue& colour, TextAlignment alignment,
                    TextTrimming trimming) override;
    bool PixelAligned(const Rect& area) const override;
    std::unique_ptr<DrawContext> LayerContext(Image& layer, const Rect& area) override;
    Rect DeviceRect(const Rect& rect) const override;
    int CopyUnder(Image& layer, const Rect& area) override;
    bool CopyOver(const Image& layer, const Rect& area) override;

    // Makes the whole target transparent (inside the current clip).
    void Clear();
    cairo_t* Cairo() const { return cr_; }
    bool OutsideClip(const Rect& rect) const override;
    bool InsideClip(const Rect& rect) const override;
    // Cairo's status after the last failed operation; success while all went well.
    cairo_status_t LastStatus() const { return status_; }

private:
    void SetSource(const ColourValue& colour);
    bool Check();
    // Draws the polyline through a coverage mask of its own making; false when the stroker
    // should draw it instead (a scaled or rotated context, long slanted segments).
    bool CoverPolyline(const Pen& pen, const Point* points, int count);

    cairo_t* cr_;
    float alpha_ = 1.0f;
    int clipDepth_ = 0;
    // The rectangles of the region last set as the clip, in device coordinates: a repaint of
    // distant areas clips to their union, and what lies between them is outside too.
    std::vector<Rect> clipRects_;
    cairo_status_t status_ = CAIRO_STATUS_SUCCESS;
    // Kept between polylines: a waveform redrawn 20 times a second allocates nothing.
    std::vector<Point> devicePoints_;
    std::vector<std::uint8_t> coverage_;
};

}  // namespace Pym::Gfx
