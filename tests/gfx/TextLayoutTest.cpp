#include "pym/gfx/TextLayout.h"

#include <gtest/gtest.h>

using Pym::Gfx::Font;
using Pym::Gfx::TextLayout;

namespace {

Pym::FontDescription Pixels(float size, const char* family = "DejaVu Sans") {
    return {family, size, Pym::FontStyleRegular, Pym::FontSizePoint};
}

TEST(FontTest, SizesArePixelsOrPercentagesOfTheReferenceWindow) {
    EXPECT_DOUBLE_EQ(Font::PixelSize(Pixels(14), 800, 600), 14.0);
    EXPECT_DOUBLE_EQ(
        Font::PixelSize({"Inter", 5, Pym::FontStyleBold, Pym::FontSizeWidth}, 800, 600), 40.0);
    EXPECT_DOUBLE_EQ(
        Font::PixelSize({"Inter", 5, Pym::FontStyleBold, Pym::FontSizeHeight}, 800, 600), 30.0);
    // Nonsense sizes give the smallest usable font instead of none.
    EXPECT_DOUBLE_EQ(Font::PixelSize(Pixels(-3), 800, 600), 1.0);
    EXPECT_DOUBLE_EQ(Font::PixelSize({"Inter", 5, Pym::FontStyleBold, Pym::FontSizeHeight}, 0, 0),
                     1.0);
}

TEST(TextLayoutTest, MeasuresGrowWithTextAndFontAndWrapAtTheLayoutWidth) {
    Font small(Pixels(12), 0, 0);
    Font large(Pixels(24), 0, 0);
    auto shortText = TextLayout::Measure(small, "114");
    auto longText = TextLayout::Measure(small, "114 BPM Andante");
    EXPECT_GT(shortText.width, 10);
    EXPECT_GT(longText.width, shortText.width * 2);
    EXPECT_NEAR(TextLayout::Measure(large, "114").width, 2 * shortText.width, 3);
    auto wrapped = TextLayout::Measure(small, "114 BPM Andante", shortText.width + 5);
    EXPECT_GT(wrapped.height, 2 * shortText.height);
    EXPECT_EQ(TextLayout::Measure(small, "").width, 0);
}

TEST(TextLayoutTest, MissingFamilyFallsBackToAnInstalledFont) {
    Font missing(Pixels(12, "No Such Family Anywhere"), 0, 0);
    EXPECT_GT(TextLayout::Measure(missing, "Tempo").width, 10);
}

TEST(TextLayoutTest, CharacterRangesCountCharactersNotBytes) {
    Font font(Pixels(16), 0, 0);
    const std::string text = "Größe";
    auto boxes =
        TextLayout::MeasureCharacterRanges(font, text, {{0, 1}, {2, 1}, {0, 5}, {4, 0}, {9, 2}});
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_NEAR(boxes[2].width, TextLayout::Measure(font, text).width, 1.0);
    EXPECT_GT(boxes[1].x, boxes[0].x + boxes[0].width - 0.5);   // ö sits after G and r
    EXPECT_DOUBLE_EQ(boxes[3].width, 0.0);                      // an empty range is a caret
    EXPECT_NEAR(boxes[4].x, boxes[2].x + boxes[2].width, 1.0);  // past the end: at the end
}

TEST(TextLayoutTest, CaretStopsAreTheCharacterBoundariesInOneWalk) {
    Font font(Pixels(16), 0, 0);
    const std::string text = "Größe ♩ 𝄞 = 120";
    const auto stops = TextLayout::MeasureCaretStops(font, text);
    ASSERT_EQ(stops.x.size(), 16u);  // fifteen characters, sixteen places for a caret
    std::vector<std::pair<int, int>> carets;
    for (int i = 0; i <= 15; ++i) carets.emplace_back(i, 0);
    const auto one = TextLayout::MeasureCharacterRanges(font, text, carets);
    for (int i = 0; i <= 15; ++i) EXPECT_NEAR(stops.x[i], one[i].x, 0.01) << i;
    EXPECT_NEAR(stops.x.back(), TextLayout::Measure(font, text).width, 1.0);
    EXPECT_GT(stops.extent.height, 10);
    EXPECT_EQ(TextLayout::MeasureCaretStops(font, "").x, std::vector<double>{0.0});
}

TEST(TextLayoutTest, InvalidUtf8IsShownNotDropped) {
    EXPECT_EQ(TextLayout::ValidUtf8("ok ♩"), "ok ♩");
    std::string repaired = TextLayout::ValidUtf8(
        "a\xff"
        "b");
    EXPECT_EQ(repaired.front(), 'a');
    EXPECT_EQ(repaired.back(), 'b');
    EXPECT_GT(repaired.size(), 2u);
    Font font(Pixels(12), 0, 0);
    EXPECT_GT(TextLayout::Measure(font,
                                  "a\xff"
                                  "b")
                  .width,
              TextLayout::Measure(font, "ab").width);
}

TEST(TextLayoutTest, DrawPaintsInsideTheBoxOnly) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 40);
    cairo_t* cr = cairo_create(surface);
    Font font(Pixels(30), 0, 0);
    TextLayout::Draw(cr, font, "WWWWWWWW", {10, 5, 50, 30}, {255, 255, 255, 255},
                     Pym::Gfx::TextAlignment::Near, Pym::Gfx::TextTrimming::None);
    cairo_surface_flush(surface);
    auto* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    int inside = 0, outside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) {
            unsigned alpha = data[y * stride + x * 4 + 3];
            bool in = x >= 10 && x < 60 && y >= 5 && y < 35;
            (in ? inside : outside) += alpha > 0;
        }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

}  // namespace
