#include "pym/gfx/CairoDrawContext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pym/gfx/Interpolation.h"
#include "pym/gfx/LineCoverage.h"
#include "pym/gfx/Region.h"
#include "pym/gfx/TextLayout.h"

namespace Pym::Gfx {

namespace {

double Channel(int value) {
    return std::clamp(value, 0, 255) / 255.0;
}

// One-pixel lines sit on pixel centres, so they cover whole pixels instead of two halves.
constexpr double kPixelCentre = 0.5;

}  // namespace

CairoDrawContext::CairoDrawContext(Image& target) : cr_(cairo_create(target.Surface())) {}

CairoDrawContext::~CairoDrawContext() {
    cairo_destroy(cr_);
}

bool CairoDrawContext::Check() {
    cairo_status_t status = cairo_status(cr_);
    if (status == CAIRO_STATUS_SUCCESS) return true;
    status_ = status;
    return false;
}

float CairoDrawContext::PushAlpha(float alpha) {
    float saved = alpha_;
    alpha_ = std::clamp(alpha_ * alpha, 0.0f, 1.0f);
    if (std::isnan(alpha_)) alpha_ = 0.0f;
    return saved;
}

void CairoDrawContext::PopAlpha(float saved) {
    alpha_ = std::isnan(saved) ? 0.0f : std::clamp(saved, 0.0f, 1.0f);
}

void CairoDrawContext::Rotate(float degrees) {
    cairo_rotate(cr_, degrees * M_PI / 180.0);
}

void CairoDrawContext::Scale(float sx, float sy) {
    // A zero scale would make Cairo's matrix singular and stop all later drawing.
    if (sx == 0.0f || sy == 0.0f || !std::isfinite(sx) || !std::isfinite(sy)) return;
    cairo_scale(cr_, sx, sy);
}

void CairoDrawContext::PushClip(const Rect& rect) {
    cairo_save(cr_);
    ++clipDepth_;
    cairo_rectangle(cr_, rect.x, rect.y, std::max(rect.width, 0.0f), std::max(rect.height, 0.0f));
    cairo_clip(cr_);
}

void CairoDrawContext::PopClip() {
    if (clipDepth_ == 0) return;
    --clipDepth_;
    // Only the clip goes back; moves made inside the scope stay.
    cairo_matrix_t matrix;
    cairo_get_matrix(cr_, &matrix);
    cairo_restore(cr_);
    cairo_set_matrix(cr_, &matrix);
}

void CairoDrawContext::SetClip(const Region& region) {
    cairo_matrix_t matrix;
    cairo_get_matrix(cr_, &matrix);
    cairo_identity_matrix(cr_);
    cairo_reset_clip(cr_);
    clipRects_ = region.Rects();
    for (const Rect& r : region.Rects()) cairo_rectangle(cr_, r.x, r.y, r.width, r.height);
    cairo_clip(cr_);
    cairo_set_matrix(cr_, &matrix);
}

void CairoDrawContext::SetSource(const ColourValue& colour) {
    cairo_set_source_rgba(cr_, Channel(colour.red), Channel(colour.green), Channel(colour.blue),
                          Channel(colour.alpha) * alpha_);
}

bool CairoDrawContext::FillRect(const Rect& rect, const ColourValue& colour) {
    if (alpha_ <= 0.0f) return true;
    SetSource(colour);
    cairo_rectangle(cr_, rect.x, rect.y, rect.width, rect.height);
    cairo_fill(cr_);
    return Check();
}

bool CairoDrawContext::FillGradient(const Rect& rect, const ColourValue& from,
                                    const ColourValue& to) {
    if (alpha_ <= 0.0f) return true;
    cairo_pattern_t* gradient =
        cairo_pattern_create_linear(rect.x, rect.y, rect.x + rect.width, rect.y + rect.height);
    for (auto [offset, colour] : {std::pair{0.0, from}, std::pair{1.0, to}})
        cairo_pattern_add_color_stop_rgba(gradient, offset, Channel(colour.red),
                                          Channel(colour.green), Channel(colour.blue),
                                          Channel(colour.alpha) * alpha_);
    cairo_set_source(cr_, gradient);
    cairo_rectangle(cr_, rect.x, rect.y, rect.width, rect.height);
    cairo_fill(cr_);
    cairo_pattern_destroy(gradient);
    return Check();
}

bool CairoDrawContext::DrawLine(const Pen& pen, Point from, Point to) {
    if (alpha_ <= 0.0f) return true;
    SetSource(pen.colour);
    cairo_set_line_width(cr_, pen.width);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    cairo_move_to(cr_, from.x + kPixelCentre, from.y + kPixelCentre);
    cairo_line_to(cr_, to.x + kPixelCentre, to.y + kPixelCentre);
    cairo_stroke(cr_);
    return Check();
}

bool CairoDrawContext::Draw3DRect(const Rect& r, const Pen& light, const Pen& dark) {
    bool ok = DrawLine(light, {r.x, r.y}, {r.x + r.width, r.y});
    ok = DrawLine(light, {r.x, r.y}, {r.x, r.y + r.height}) && ok;
    ok = DrawLine(dark, {r.x + r.width, r.y + r.height}, {r.x + r.width, r.y + 1}) && ok;
    ok = DrawLine(dark, {r.x + r.width, r.y + r.height}, {r.x + 1, r.y + r.height}) && ok;
    return ok;
}

bool CairoDrawContext::DrawPolyline(const Pen& pen, const Point* points, int count) {
    if (alpha_ <= 0.0f || count < 2) return true;
    if (CoverPolyline(pen, points, count)) return Check();
    SetSource(pen.colour);
    cairo_set_line_width(cr_, pen.width);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_BEVEL);
    // A long line of short segments: the fast antialiasing looks the same and costs a fifth.
    const cairo_antialias_t antialias = cairo_get_antialias(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_FAST);
    cairo_move_to(cr_, points[0].x + kPixelCentre, points[0].y + kPixelCentre);
    for (int i = 1; i < count; ++i)
        cairo_line_to(cr_, points[i].x + kPixelCentre, points[i].y + kPixelCentre);
    cairo_stroke(cr_);
    cairo_set_antialias(cr_, antialias);
    return Check();
}

bool CairoDrawContext::CoverPolyline(const Pen& pen, const Point* points, int count) {
    // Only unscaled and unrotated: the mask is laid on device pixels one to one.
    cairo_matrix_t matrix;
    cairo_get_matrix(cr_, &matrix);
    cairo_surface_t* target = cairo_get_target(cr_);
    if (matrix.xx != 1.0 || matrix.yy != 1.0 || matrix.xy != 0.0 || matrix.yx != 0.0 ||
        !(pen.width > 0.0f) || !std::isfinite(pen.width) ||
        cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE)
        return false;
    const auto dx = static_cast<float>(matrix.x0 + kPixelCentre);
    const auto dy = static_cast<float>(matrix.y0 + kPixelCentre);
    devicePoints_.clear();
    float left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (int i = 0; i < count && std::isfinite(points[i].x) && std::isfinite(points[i].y); ++i) {
        const Point p{points[i].x + dx, points[i].y + dy};
        devicePoints_.push_back(p);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    if (devicePoints_.size() < 2) return true;
    // The pixels the line can reach, within the clip and the target.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
    const float reach = pen.width / 2.0f + 1.0f;
    const double fromX = std::max({static_cast<double>(left - reach), x1 + matrix.x0, 0.0});
    const double fromY = std::max({static_cast<double>(top - reach), y1 + matrix.y0, 0.0});
    const double toX = std::min({static_cast<double>(right + reach), x2 + matrix.x0,
                                 static_cast<double>(cairo_image_surface_get_width(target))});
    const double toY = std::min({static_cast<double>(bottom + reach), y2 + matrix.y0,
                                 static_cast<double>(cairo_image_surface_get_height(target))});
    CoverageMask mask;
    mask.left = static_cast<int>(std::floor(fromX));
    mask.top = static_cast<int>(std::floor(fromY));
    mask.width = static_cast<int>(std::ceil(toX)) - mask.left;
    mask.height = static_cast<int>(std::ceil(toY)) - mask.top;
    if (mask.width <= 0 || mask.height <= 0) return true;  // nothing of it shows
    const double area = static_cast<double>(mask.width) * mask.height;
    // Long slanted segments visit a square each: those the stroker fills for less.
    if (PolylineCost(devicePoints_.data(), static_cast<int>(devicePoints_.size()), pen.width,
                     mask) > 4.0 * area + 4096.0)
        return false;
    mask.stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, mask.width);
    coverage_.assign(static_cast<std::size_t>(mask.stride) * static_cast<std::size_t>(mask.height),
                     0);
    mask.pixels = coverage_.data();
    AddPolyline(devicePoints_.data(), static_cast<int>(devicePoints_.size()), pen.width, mask);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        mask.pixels, CAIRO_FORMAT_A8, mask.width, mask.height, mask.stride);
    SetSource(pen.colour);
    cairo_identity_matrix(cr_);
    cairo_mask_surface(cr_, surface, mask.left, mask.top);
    cairo_set_matrix(cr_, &matrix);
    cairo_surface_destroy(surface);
    return true;
}

bool CairoDrawContext::FillEllipse(const Rect& rect, const ColourValue& colour) {
    if (alpha_ <= 0.0f || rect.width <= 0 || rect.height <= 0) return true;
    SetSource(colour);
    cairo_save(cr_);
    cairo_translate(cr_, rect.x + rect.width / 2.0, rect.y + rect.height / 2.0);
    cairo_scale(cr_, rect.width / 2.0, rect.height / 2.0);
    cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr_);
    cairo_fill(cr_);
    return Check();
}

bool CairoDrawContext::FillRoundedRect(const Rect& rect, float radius, const ColourValue& colour) {
    if (alpha_ <= 0.0f || rect.width <= 0 || rect.height <= 0) return true;
    const double r =
        std::clamp(static_cast<double>(radius), 0.0, std::min(rect.width, rect.height) / 2.0);
    const double left = rect.x, top = rect.y, right = rect.x + rect.width,
                 bottom = rect.y + rect.height;
    SetSource(colour);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, right - r, top + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, right - r, bottom - r, r, 0, M_PI / 2);
    cairo_arc(cr_, left + r, bottom - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, left + r, top + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
    cairo_fill(cr_);
    return Check();
}

bool CairoDrawContext::DrawArc(const Pen& pen, Point centre, float radius, float fromDegrees,
                               float toDegrees) {
    if (alpha_ <= 0.0f || radius <= 0) return true;
    SetSource(pen.colour);
    cairo_set_line_width(cr_, pen.width);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, centre.x, centre.y, radius, fromDegrees * M_PI / 180.0,
              toDegrees * M_PI / 180.0);
    cairo_stroke(cr_);
    return Check();
}

bool CairoDrawContext::PixelAligned(const Rect& area) const {
    return LandsOnPixels(cr_, area.x, area.y);
}

std::unique_ptr<DrawContext> CairoDrawContext::LayerContext(Image& layer, const Rect& area) {
    auto context = std::make_unique<CairoDrawContext>(layer);
    context->Clear();
    context->Translate(-area.x, -area.y);
    return context;
}

Rect CairoDrawContext::DeviceRect(const Rect& rect) const {
    double x = rect.x, y = rect.y;
    cairo_user_to_device(cr_, &x, &y);
    return {static_cast<float>(x), static_cast<float>(y), rect.width, rect.height};
}

int CairoDrawContext::CopyUnder(Image& layer, const Rect& area) {
    // The clip known pixel for pixel is the region set last; a clip pushed on top is not.
    if (clipDepth_ > 0 || !PixelAligned(area) || layer.Width() != static_cast<int>(area.width) ||
        layer.Height() != static_cast<int>(area.height))
        return -1;
    const Rect under = DeviceRect(area);
    cairo_t* copy = cairo_create(layer.Surface());
    bool any = false, whole = false;
    for (const Rect& clip : clipRects_) {
        const float left = std::max(clip.x, under.x), top = std::max(clip.y, under.y);
        const float right = std::min(clip.x + clip.width, under.x + under.width);
        const float bottom = std::min(clip.y + clip.height, under.y + under.height);
        if (right <= left || bottom <= top) continue;
        cairo_rectangle(copy, left - under.x, top - under.y, right - left, bottom - top);
        any = true;
        whole = whole || (right - left == under.width && bottom - top == under.height);
    }
    if (any) {
        cairo_clip(copy);
        cairo_set_operator(copy, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(copy, cairo_get_target(cr_), -under.x, -under.y);
        cairo_paint(copy);
    }
    cairo_destroy(copy);
    return whole ? 1 : 0;
}

bool CairoDrawContext::CopyOver(const Image& layer, const Rect& area) {
    cairo_surface_t* target = cairo_get_target(cr_);
    cairo_surface_t* source = layer.Surface();
    if (clipDepth_ > 0 || cairo_image_surface_get_format(target) != CAIRO_FORMAT_ARGB32 ||
        cairo_image_surface_get_format(source) != CAIRO_FORMAT_ARGB32)
        return false;
    // Row by row: a few small rectangles, many times a second, cost less than a composite.
    cairo_surface_flush(target);
    unsigned char* to = cairo_image_surface_get_data(target);
    const unsigned char* from = cairo_image_surface_get_data(source);
    const int toStride = cairo_image_surface_get_stride(target);
    const int fromStride = cairo_image_surface_get_stride(source);
    const int areaX = static_cast<int>(area.x), areaY = static_cast<int>(area.y);
    const int right = std::min(areaX + layer.Width(), cairo_image_surface_get_width(target));
    const int bottom = std::min(areaY + layer.Height(), cairo_image_surface_get_height(target));
    for (const Rect& clip : clipRects_) {
        const int left = std::max(static_cast<int>(clip.x), std::max(areaX, 0));
        const int top = std::max(static_cast<int>(clip.y), std::max(areaY, 0));
        const int clipRight = std::min(static_cast<int>(std::ceil(clip.x + clip.width)), right);
        const int clipBottom = std::min(static_cast<int>(std::ceil(clip.y + clip.height)), bottom);
        for (int y = top; y < clipBottom && left < clipRight; ++y)
            std::memcpy(to + y * toStride + left * 4,
                        from + (y - areaY) * fromStride + (left - areaX) * 4,
                        static_cast<std::size_t>(clipRight - left) * 4);
    }
    cairo_surface_mark_dirty(target);
    return true;
}

bool CairoDrawContext::OutsideClip(const Rect& rect) const {
    double left = 0, top = 0, right = 0, bottom = 0;
    cairo_clip_extents(cr_, &left, &top, &right, &bottom);
    if (rect.x >= right || rect.y >= bottom || rect.x + rect.width <= left ||
        rect.y + rect.height <= top)
        return true;
    // Within the union's extents, a rectangle may still fall between the region's rectangles
    // (a text there would lay itself out for nothing). Only for moves and scales, where the
    // corners give the device rectangle.
    cairo_matrix_t matrix;
    cairo_get_matrix(cr_, &matrix);
    if (clipRects_.size() < 2 || matrix.xy != 0.0 || matrix.yx != 0.0) return false;
    double x0 = rect.x, y0 = rect.y, x1 = rect.x + rect.width, y1 = rect.y + rect.height;
    cairo_user_to_device(cr_, &x0, &y0);
    cairo_user_to_device(cr_, &x1, &y1);
    for (const Rect& r : clipRects_)
        if (std::min(x0, x1) < r.x + r.width && r.x < std::max(x0, x1) &&
            std::min(y0, y1) < r.y + r.height && r.y < std::max(y0, y1))
            return false;
    return true;
}

bool CairoDrawContext::InsideClip(const Rect& rect) const {
    // Known only for the region set last, under moves and scales; a rectangle across two of
    // the region's rectangles counts as clipped.
    if (clipRects_.empty()) return clipDepth_ == 0;
    cairo_matrix_t matrix;
    cairo_get_matrix(cr_, &matrix);
    if (clipDepth_ > 0 || matrix.xy != 0.0 || matrix.yx != 0.0) return false;
    double x0 = rect.x, y0 = rect.y, x1 = rect.x + rect.width, y1 = rect.y + rect.height;
    cairo_user_to_device(cr_, &x0, &y0);
    cairo_user_to_device(cr_, &x1, &y1);
    return std::any_of(clipRects_.begin(), clipRects_.end(), [&](const Rect& r) {
        return std::min(x0, x1) >= r.x && std::min(y0, y1) >= r.y &&
               std::max(x0, x1) <= r.x + r.width && std::max(y0, y1) <= r.y + r.height;
    });
}

bool CairoDrawContext::DrawImage(const Image& image, const Rect& rect, int interpolation) {
    if (alpha_ <= 0.0f || rect.width <= 0 || rect.height <= 0 || OutsideClip(rect)) return true;
    cairo_save(cr_);
    cairo_translate(cr_, rect.x, rect.y);
    cairo_scale(cr_, rect.width / image.Width(), rect.height / image.Height());
    cairo_rectangle(cr_, 0, 0, image.Width(), image.Height());
    cairo_clip(cr_);
    image.Paint(cr_, CairoFilter(interpolation), alpha_);
    cairo_restore(cr_);
    return Check();
}

bool CairoDrawContext::DrawString(const Font& font, const std::string& text, const Rect& rect,
                                  const ColourValue& colour, TextAlignment alignment,
                                  TextTrimming trimming) {
    // Text is clipped to its box, so a box outside the clip shows nothing; a small repaint
    // then skips laying out every other text of the window.
    if (alpha_ <= 0.0f || OutsideClip(rect)) return true;
    ColourValue faded = colour;
    faded.alpha = static_cast<int>(std::lround(Channel(colour.alpha) * alpha_ * 255.0));
    TextLayout::Draw(cr_, font, text, TextBox{rect.x, rect.y, rect.width, rect.height}, faded,
                     alignment, trimming);
    return Check();
}

void CairoDrawContext::Clear() {
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

}  // namespace Pym::Gfx
