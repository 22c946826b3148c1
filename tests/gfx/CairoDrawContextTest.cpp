#include "pym/gfx/CairoDrawContext.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "pym/gfx/CachedLayer.h"
#include "pym/gfx/Font.h"
#include "pym/gfx/Region.h"

using Pym::ColourValue;
using Pym::Gfx::CairoDrawContext;
using Pym::Gfx::Image;
using Pym::Gfx::Rect;

namespace {

constexpr ColourValue kRed{255, 255, 0, 0};
constexpr ColourValue kBlue{255, 0, 0, 255};

class CairoDrawContextTest : public ::testing::Test {
protected:
    // The premultiplied ARGB pixel at (x, y) of the target.
    std::uint32_t At(int x, int y) {
        cairo_surface_flush(target->Surface());
        const unsigned char* data = cairo_image_surface_get_data(target->Surface());
        int stride = cairo_image_surface_get_stride(target->Surface());
        return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
    }
    int Alpha(int x, int y) { return static_cast<int>(At(x, y) >> 24); }

    std::shared_ptr<Image> target = Image::Blank(40, 30);
    CairoDrawContext context{*target};
};

TEST_F(CairoDrawContextTest, FillsCoverExactlyTheirPixels) {
    EXPECT_TRUE(context.FillRect({2, 3, 4, 5}, kRed));
    EXPECT_EQ(At(2, 3), 0xFFFF0000u);
    EXPECT_EQ(At(5, 7), 0xFFFF0000u);
    EXPECT_EQ(At(6, 7), 0u);
    EXPECT_EQ(At(5, 8), 0u);
    EXPECT_EQ(At(1, 3), 0u);
}

TEST_F(CairoDrawContextTest, AlphaMultipliesAndPopsBack) {
    float saved = context.PushAlpha(0.5f);
    EXPECT_FLOAT_EQ(saved, 1.0f);
    float inner = context.PushAlpha(0.5f);
    EXPECT_FLOAT_EQ(context.Alpha(), 0.25f);
    context.FillRect({0, 0, 10, 10}, kRed);
    EXPECT_NEAR(Alpha(5, 5), 64, 1);
    context.PopAlpha(inner);
    EXPECT_FLOAT_EQ(context.Alpha(), 0.5f);
    context.PopAlpha(saved);
    EXPECT_FLOAT_EQ(context.PushAlpha(3.0f), 1.0f);  // clamped to 1
    EXPECT_FLOAT_EQ(context.Alpha(), 1.0f);
}

TEST_F(CairoDrawContextTest, PicturesAtFullPartAndNoAlpha) {
    auto picture = Image::Blank(2, 2);
    {
        CairoDrawContext paint(*picture);
        paint.FillRect({0, 0, 2, 2}, kBlue);
    }
    context.DrawImage(*picture, {0, 0, 10, 10}, 5);
    EXPECT_EQ(At(9, 9), 0xFF0000FFu);
    EXPECT_EQ(At(10, 10), 0u);
    context.PushAlpha(0.5f);
    context.DrawImage(*picture, {20, 0, 10, 10}, 5);
    EXPECT_NEAR(Alpha(25, 5), 128, 1);
    context.PopAlpha(0.0f);
    context.DrawImage(*picture, {0, 20, 10, 10}, 5);
    EXPECT_EQ(At(5, 25), 0u);
}

TEST_F(CairoDrawContextTest, ClipScopesNestAndKeepMovesMadeInside) {
    context.PushClip({0, 0, 20, 20});
    context.PushClip({10, 10, 20, 20});
    context.FillRect({0, 0, 40, 30}, kRed);
    EXPECT_EQ(At(15, 15), 0xFFFF0000u);
    EXPECT_EQ(At(5, 5), 0u);
    EXPECT_EQ(At(25, 15), 0u);
    context.PopClip();
    context.Translate(30, 0);
    context.PopClip();
    context.PopClip();                       // one too many: ignored
    context.FillRect({0, 25, 5, 5}, kBlue);  // lands at x = 30 after the move
    EXPECT_EQ(At(32, 27), 0xFF0000FFu);
    EXPECT_EQ(At(2, 27), 0u);
}

TEST_F(CairoDrawContextTest, RegionClipLimitsARepaintToItsRectangles) {
    Pym::Gfx::Region region;
    region.Add({0, 0, 5, 5});
    region.Add({30, 20, 5, 5});
    region.Add({1, 1, 2, 2});  // inside the first: adds nothing
    region.Add({7, 7, 0, 3});  // empty: ignored
    EXPECT_EQ(region.Rects().size(), 2u);
    EXPECT_TRUE(region.Intersects({4, 4, 10, 10}));
    EXPECT_FALSE(region.Intersects({5, 5, 10, 10}));
    EXPECT_FLOAT_EQ(region.Bounds().width, 35.0f);
    context.Translate(3, 3);  // the region is in target coordinates whatever the transform
    context.SetClip(region);
    context.FillRect({-3, -3, 40, 30}, kRed);
    EXPECT_EQ(At(2, 2), 0xFFFF0000u);
    EXPECT_EQ(At(32, 22), 0xFFFF0000u);
    EXPECT_EQ(At(15, 15), 0u);
    // Between the region's rectangles is outside, though inside their union's extents.
    EXPECT_TRUE(context.OutsideClip({7, 7, 10, 10}));
    EXPECT_FALSE(context.OutsideClip({20, 10, 10, 10}));  // reaches the second
    EXPECT_FALSE(context.OutsideClip({-5, -5, 3, 3}));
}

TEST_F(CairoDrawContextTest, WhatReachesIntoTheClipIsDrawnWhateverTheTransform) {
    // Pictures and texts wholly outside the clip are skipped: the ones that only touch it
    // from outside its user-space position must still be drawn.
    Pym::Gfx::Region region;
    region.Add({10, 10, 10, 10});
    context.SetClip(region);
    auto picture = Image::Blank(2, 2);
    {
        CairoDrawContext paint(*picture);
        paint.FillRect({0, 0, 2, 2}, kBlue);
    }
    context.Translate(6, 6);
    context.Scale(2, 2);  // user (2, 2)-(4, 4) is target (10, 10)-(14, 14)
    EXPECT_TRUE(context.DrawImage(*picture, {1, 1, 2, 2}, 5));
    EXPECT_EQ(At(11, 11), 0xFF0000FFu);
    EXPECT_EQ(At(9, 9), 0u);
    Pym::Gfx::Font font({"DejaVu Sans", 8, Pym::FontStyleBold, Pym::FontSizePoint}, 0, 0);
    EXPECT_TRUE(context.DrawString(font, "MMMM", {2, 4, 20, 6}, {255, 255, 255, 255},
                                   Pym::Gfx::TextAlignment::Near, Pym::Gfx::TextTrimming::None));
    int strongest = 0;
    for (int y = 14; y < 20; ++y)
        for (int x = 10; x < 20; ++x) strongest = std::max(strongest, Alpha(x, y));
    EXPECT_GT(strongest, 100);
    EXPECT_EQ(Alpha(25, 17), 0);
}

TEST_F(CairoDrawContextTest, LinesAndBevelsAreOnePixelWide) {
    Pym::Gfx::Pen light{{255, 255, 255, 255}, 1.0f};
    Pym::Gfx::Pen dark{{255, 0, 0, 0}, 1.0f};
    context.Draw3DRect({5, 5, 10, 10}, light, dark);
    EXPECT_EQ(At(10, 5), 0xFFFFFFFFu);   // top, light
    EXPECT_EQ(At(5, 10), 0xFFFFFFFFu);   // left, light
    EXPECT_EQ(At(15, 10), 0xFF000000u);  // right, dark
    EXPECT_EQ(At(10, 15), 0xFF000000u);  // bottom, dark
    EXPECT_EQ(At(10, 6), 0u);            // nothing inside
    EXPECT_EQ(At(10, 4), 0u);
}

TEST_F(CairoDrawContextTest, PolylinesCoverWhatTheStrokerWouldWithinTheClip) {
    // A waveform-like zigzag, one point per column, drawn moved and clipped, against Cairo's
    // own stroke of the same line on an unclipped picture.
    std::vector<Pym::Gfx::Point> points;
    for (int i = 0; i < 30; ++i)
        points.push_back({static_cast<float>(i), 8.0f + ((i / 3) % 2 ? 6.0f : -6.0f) * (i % 3)});
    const Pym::Gfx::Pen pen{kRed, 2.0f};
    context.PushClip({0, 0, 40, 20});
    context.Translate(5, 3);
    EXPECT_TRUE(context.DrawPolyline(pen, points.data(), static_cast<int>(points.size())));
    context.PopClip();

    auto expected = Image::Blank(40, 30);
    {
        cairo_t* cr = cairo_create(expected->Surface());
        cairo_set_source_rgb(cr, 1, 0, 0);
        cairo_set_line_width(cr, 2.0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        for (const auto& p : points) cairo_line_to(cr, p.x + 5.5, p.y + 3.5);
        cairo_stroke(cr);
        cairo_destroy(cr);
        cairo_surface_flush(expected->Surface());
    }
    const unsigned char* data = cairo_image_surface_get_data(expected->Surface());
    const int stride = cairo_image_surface_get_stride(expected->Surface());
    long drawn = 0, stroked = 0;
    int worst = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const int want =
                y < 20 ? static_cast<int>(
                             reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] >> 24)
                       : 0;
            drawn += Alpha(x, y);
            stroked += want;
            worst = std::max(worst, std::abs(Alpha(x, y) - want));
        }
    EXPECT_NEAR(static_cast<double>(drawn), static_cast<double>(stroked), 0.08 * stroked);
    EXPECT_LT(worst, 110);         // edges shaded a little differently, never a pixel off
    EXPECT_EQ(Alpha(20, 22), 0);   // below the clip, where the line reaches
    EXPECT_EQ(Alpha(5, 11), 255);  // the first point, moved
}

TEST_F(CairoDrawContextTest, GradientRunsCornerToCorner) {
    context.FillGradient({0, 0, 40, 30}, kRed, kBlue);
    std::uint32_t start = At(0, 0), end = At(39, 29);
    EXPECT_GT((start >> 16) & 0xFF, 240u);
    EXPECT_LT(start & 0xFF, 15u);
    EXPECT_GT(end & 0xFF, 240u);
    EXPECT_LT((end >> 16) & 0xFF, 15u);
}

TEST_F(CairoDrawContextTest, TextFadesWithTheContextAlpha) {
    Pym::Gfx::Font font({"DejaVu Sans", 24, Pym::FontStyleBold, Pym::FontSizePoint}, 0, 0);
    context.PushAlpha(0.5f);
    EXPECT_TRUE(context.DrawString(font, "M", {0, 0, 40, 30}, {255, 255, 255, 255},
                                   Pym::Gfx::TextAlignment::Near, Pym::Gfx::TextTrimming::None));
    int strongest = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) strongest = std::max(strongest, Alpha(x, y));
    EXPECT_NEAR(strongest, 128, 2);
}

}  // namespace

TEST(CachedLayerTest, CopiesLookAsDrawnAndRepaintOnlyWhenStale) {
    // An arc and a line over a background, once straight and once through a layer, on a
    // context moved by whole pixels as the window's tree moves it.
    const auto paint = [](Pym::Gfx::DrawContext& on) {
        on.DrawArc({kBlue, 3.0f}, {20, 18}, 12, -160, -20);
        on.DrawLine({ColourValue{160, 20, 200, 40}, 1.5f}, {4, 4}, {30, 20});
    };
    const auto drawn = [](const std::function<void(CairoDrawContext&)>& draw) {
        auto picture = Image::Blank(50, 40);
        CairoDrawContext on(*picture);
        on.FillRect({0, 0, 50, 40}, ColourValue{255, 90, 90, 90});
        on.Translate(3, 2);
        draw(on);
        cairo_surface_flush(picture->Surface());
        const unsigned char* data = cairo_image_surface_get_data(picture->Surface());
        return std::vector<unsigned char>(
            data, data + cairo_image_surface_get_stride(picture->Surface()) * 40);
    };
    Pym::Gfx::CachedLayer layer;
    int paints = 0;
    const auto throughLayer = [&](CairoDrawContext& on, float width) {
        layer.Draw(on, {2, 1, width, 30}, [&](Pym::Gfx::DrawContext& into) {
            ++paints;
            paint(into);
        });
    };
    const auto straight = drawn([&](CairoDrawContext& on) { paint(on); });
    // Blending in another order rounds a channel by one here and there.
    const auto nearly = [&](const std::vector<unsigned char>& pixels) {
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (std::abs(pixels[i] - straight[i]) > 1) return false;
        return true;
    };
    EXPECT_TRUE(nearly(drawn([&](CairoDrawContext& on) { throughLayer(on, 40); })));
    EXPECT_TRUE(nearly(drawn([&](CairoDrawContext& on) { throughLayer(on, 40); })));
    EXPECT_EQ(paints, 1);
    layer.Invalidate();
    drawn([&](CairoDrawContext& on) { throughLayer(on, 40); });
    drawn([&](CairoDrawContext& on) { throughLayer(on, 41); });
    EXPECT_EQ(paints, 3);
    // Moved by half a pixel, a copy would not look the same: it is painted straight each time.
    drawn([&](CairoDrawContext& on) {
        on.Translate(0.5f, 0);
        throughLayer(on, 41);
        throughLayer(on, 41);
    });
    EXPECT_EQ(paints, 5);
}
