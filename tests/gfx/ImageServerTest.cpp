#include "pym/gfx/ImageServer.h"

#include <stb_image_write.h>

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "pym/gfx/Interpolation.h"
#include "tests/support/SkinFixture.h"

using Pym::GfxLayerImageServer_;

namespace {

class ImageServerTest : public Testing::SkinFixture {
protected:
    void SetUp() override {
        SkinFixture::SetUp();
        std::vector<unsigned char> pixels(8 * 8 * 4, 200);
        dir.Write("images/.keep", "");
        ASSERT_TRUE(
            stbi_write_png((dir.Path() / "images/a.png").c_str(), 8, 8, 4, pixels.data(), 32));
        ASSERT_TRUE(
            stbi_write_png((dir.Path() / "images/b.png").c_str(), 16, 4, 4, pixels.data(), 64));
    }
    double now = 0.0;
    GfxLayerImageServer_ server{[this] { return now; }};
};

TEST_F(ImageServerTest, SameSizeSharesOneEntryAndEachSizeIsMadeOnce) {
    auto first = server.GetImage(true, "images/a.png", 20, 10, 7);
    auto second = server.GetImage(true, "images/a.png", 20, 10, 7);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->Width(), 20);
    auto other = server.GetImage(true, "images/a.png", 30, 30, 7);
    EXPECT_NE(other, first);
    EXPECT_EQ(other->Height(), 30);
    EXPECT_EQ(server.EntryCount("images/a.png"), 2u);
    // Not exact: whatever the path has first.
    EXPECT_EQ(server.GetImage(false, "images/a.png", 99, 99, 7), first);
    // The same file named through the start directory is the same entry.
    EXPECT_EQ(server.GetImage(true, dir.Path().string() + "/images/a.png", 20, 10, 7), first);
}

TEST_F(ImageServerTest, SizesUnusedForFiveSecondsArePrunedOnTheNextExactLookup) {
    auto small = server.GetImage(true, "images/a.png", 10, 10, 7);
    now = 1.0;
    server.GetImage(true, "images/a.png", 20, 20, 7);
    now = 6.5;  // small was last used 6.5 s ago, the 20 x 20 one 5.5 s ago
    server.GetImage(true, "images/a.png", 30, 30, 7);
    // Pruning stops when one entry is left, so the 20 x 20 one stays this time.
    EXPECT_EQ(server.EntryCount("images/a.png"), 2u);
    now = 7.0;
    server.GetImage(true, "images/a.png", 40, 40, 7);
    EXPECT_EQ(server.EntryCount("images/a.png"), 2u);  // 30 x 30 was used 0.5 s ago: kept
    now = 7.2;
    server.GetImage(true, "images/a.png", 30, 30, 7);
    EXPECT_EQ(server.EntryCount("images/a.png"), 2u);
    // A pruned size is made again when asked for.
    auto again = server.GetImage(true, "images/a.png", 10, 10, 7);
    EXPECT_NE(again, small);
    EXPECT_EQ(again->Width(), 10);
}

TEST_F(ImageServerTest, NaturalSizeSlotIsKeptPerPath) {
    auto a = server.GetImage(true, "images/a.png", -1, -1, 0);
    auto b = server.GetImage(true, "images/b.png", 0, 5, 0);
    EXPECT_EQ(a->Width(), 8);
    EXPECT_EQ(b->Width(), 16);
    EXPECT_EQ(server.GetImage(false, "images/a.png", -1, -1, 0), a);
}

TEST_F(ImageServerTest, MissingPictureThrowsAndCachesNothing) {
    EXPECT_THROW(server.GetImage(true, "images/none.png", 10, 10, 7),
                 Pym::Gfx::Image::InvalidImageException);
    EXPECT_THROW(server.GetImage(true, "images/none.png", -1, -1, 7),
                 Pym::Gfx::Image::InvalidImageException);
    EXPECT_EQ(server.EntryCount("images/none.png"), 0u);
    // Library pictures are found under the library root.
    std::vector<unsigned char> pixels(4 * 4 * 4, 9);
    WriteLibrary("images/lib.png", "");
    ASSERT_TRUE(stbi_write_png((dir.Path() / "lib/PYM/XML/images/lib.png").c_str(), 4, 4, 4,
                               pixels.data(), 16));
    EXPECT_EQ(server.GetImage(true, "$PYM/images/lib.png", 6, 6, 7)->Width(), 6);
}

TEST_F(ImageServerTest, ACheckedVectorPictureIsReadOnceAndMadeOnlyAtTheSizeDrawn) {
    dir.Write("images/box.svg",
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\">"
              "<rect width=\"4\" height=\"4\" fill=\"#0000ff\"/></svg>");
    dir.Write("images/broken.svg", "<svg");
    server.Check("images/box.svg");
    EXPECT_EQ(server.EntryCount("images/box.svg"), 0u);
    EXPECT_THROW(server.Check("images/broken.svg"), Pym::Gfx::Image::InvalidImageException);
    // Made from the reading of the check: the file is not read again.
    std::filesystem::remove(dir.Path() / "images/box.svg");
    auto drawn = server.GetImage(true, "images/box.svg", 40, 20, 7);
    EXPECT_EQ(drawn->Width(), 40);
    EXPECT_TRUE(drawn->IsVector());
    EXPECT_EQ(drawn->PixelAt(39, 19), 0xff0000ffu);
    // Readings unused for five seconds are let go.
    now = 6.0;
    server.Check("images/a.png");
    EXPECT_THROW(server.GetImage(true, "images/box.svg", 30, 30, 7),
                 Pym::Gfx::Image::InvalidImageException);
}

TEST(InterpolationTest, SkinNamesMapToModesAndUnknownNamesKeepTheFallback) {
    using namespace Pym::Gfx;
    EXPECT_EQ(ParseInterpolation("NearestNeighbor", InterpolationHighQualityBicubic),
              InterpolationNearestNeighbor);
    EXPECT_EQ(ParseInterpolation("Default", InterpolationHighQualityBicubic), InterpolationDefault);
    EXPECT_EQ(ParseInterpolation("Sharpest", InterpolationHighQualityBicubic),
              InterpolationHighQualityBicubic);
    EXPECT_EQ(CairoFilter(InterpolationNearestNeighbor), CAIRO_FILTER_NEAREST);
}

}  // namespace
