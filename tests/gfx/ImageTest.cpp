#include "pym/gfx/Image.h"

#include <stb_image_write.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using Pym::Gfx::Image;

namespace {

// ARGB of the pixel at (x, y).
std::uint32_t Pixel(const Image& image, int x, int y) {
    cairo_surface_flush(image.Surface());
    const unsigned char* data = cairo_image_surface_get_data(image.Surface());
    int stride = cairo_image_surface_get_stride(image.Surface());
    return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
}

std::string BigEndian(std::uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// A valid, well-compressed 1-bit grey PNG of the given size.
std::string BlackOneBitPng(std::uint32_t width, std::uint32_t height) {
    auto chunk = [](const std::string& type, const std::string& data) {
        std::string body = type + data;
        auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size());
        return BigEndian(static_cast<std::uint32_t>(data.size())) + body +
               BigEndian(static_cast<std::uint32_t>(crc));
    };
    std::string raw(static_cast<std::size_t>(height) * (1 + (width + 7) / 8), '\0');
    std::string packed(compressBound(raw.size()), '\0');
    uLongf size = packed.size();
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
              reinterpret_cast<const Bytef*>(raw.data()), raw.size(), 9);
    packed.resize(size);
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR", BigEndian(width) + BigEndian(height) + std::string("\1\0\0\0\0", 5)) +
           chunk("IDAT", packed) + chunk("IEND", "");
}

class ImageTest : public ::testing::Test {
protected:
    // A 4 x 2 picture: left half opaque red, right half half-transparent blue.
    std::vector<unsigned char> Rgba() const {
        std::vector<unsigned char> pixels;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                if (x < 2)
                    pixels.insert(pixels.end(), {255, 0, 0, 255});
                else
                    pixels.insert(pixels.end(), {0, 0, 255, 128});
            }
        return pixels;
    }
    Testing::TempDir dir;
};

TEST_F(ImageTest, BitmapFormatsDecodeToPremultipliedArgb) {
    auto pixels = Rgba();
    std::string png = (dir.Path() / "p.png").string();
    std::string bmp = (dir.Path() / "p.bmp").string();
    std::string tga = (dir.Path() / "p.tga").string();
    std::string jpg = (dir.Path() / "p.jpg").string();
    ASSERT_TRUE(stbi_write_png(png.c_str(), 4, 2, 4, pixels.data(), 16));
    ASSERT_TRUE(stbi_write_bmp(bmp.c_str(), 4, 2, 4, pixels.data()));
    ASSERT_TRUE(stbi_write_tga(tga.c_str(), 4, 2, 4, pixels.data()));
    ASSERT_TRUE(stbi_write_jpg(jpg.c_str(), 4, 2, 4, pixels.data(), 95));

    for (const std::string& path : {png, tga}) {
        auto image = Image::FromFile(path);
        EXPECT_EQ(image->Width(), 4) << path;
        EXPECT_EQ(image->Height(), 2) << path;
        EXPECT_EQ(Pixel(*image, 0, 0), 0xFFFF0000u) << path;
        EXPECT_EQ(Pixel(*image, 3, 1), 0x80000080u) << path;  // premultiplied
        EXPECT_FALSE(image->IsVector());
    }
    // BMP and JPEG files keep no alpha worth checking; their colours must still be right.
    auto jpeg = Image::FromFile(jpg);
    EXPECT_GT((Pixel(*jpeg, 0, 0) >> 16) & 0xFF, 200u);
    EXPECT_EQ(Image::FromFile(bmp)->Width(), 4);
}

TEST_F(ImageTest, VectorPicturesRenderAtTheRequestedSize) {
    std::string svg = dir.Write("round.svg",
                                "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
                                "<rect x='0' y='0' width='5' height='10' fill='#00ff00'/></svg>")
                          .string();
    auto natural = Image::FromFile(svg);
    EXPECT_EQ(natural->Width(), 10);
    EXPECT_TRUE(natural->IsVector());
    auto large = Image::FromFile(svg, 200, 100);
    EXPECT_EQ(large->Width(), 200);
    EXPECT_EQ(large->Height(), 100);
    EXPECT_EQ(Pixel(*large, 10, 50), 0xFF00FF00u);
    EXPECT_EQ(Pixel(*large, 190, 50), 0x00000000u);
}

TEST_F(ImageTest, UnreadablePicturesThrowWithTheirPath) {
    std::string missing = (dir.Path() / "missing.png").string();
    std::string empty = dir.Write("empty.png", "").string();
    std::string text = dir.Write("text.png", "this is not a picture at all").string();
    std::string truncated =
        dir.Write("cut.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)).string();
    std::string brokenSvg = dir.Write("broken.svg", "<svg><rect").string();
    // Would block open() for ever.
    std::string fifo = (dir.Path() / "fifo.png").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A small file that decodes to more pixels than any skin needs.
    std::string huge = dir.Write("huge.png", BlackOneBitPng(9000, 8000)).string();
    // A small picture with a chunk that claims two gigabytes: refused before the decoder
    // allocates for it.
    std::string claiming = BlackOneBitPng(24, 16);
    claiming.insert(claiming.size() - 12, BigEndian(0x7ffffff0u) + "tEXtComment");
    claiming = dir.Write("claiming.png", claiming).string();
    for (const std::string& path :
         {missing, empty, text, truncated, brokenSvg, fifo, huge, claiming}) {
        try {
            Image::FromFile(path);
            ADD_FAILURE() << path << " loaded";
        } catch (const Image::InvalidImageException& e) {
            EXPECT_EQ(std::string(e.what()), "Image " + path + " not found!!");
        }
    }
}

TEST_F(ImageTest, ScalingFillsTheWholeTarget) {
    auto pixels = Rgba();
    std::string png = (dir.Path() / "p.png").string();
    ASSERT_TRUE(stbi_write_png(png.c_str(), 4, 2, 4, pixels.data(), 16));
    auto scaled = Image::FromFile(png)->Scaled(40, 20, CAIRO_FILTER_NEAREST);
    EXPECT_EQ(scaled->Width(), 40);
    EXPECT_EQ(Pixel(*scaled, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(*scaled, 39, 19), 0x80000080u);
    EXPECT_EQ(Image::Blank(0, -3)->Width(), 1);
}

// A window frame keeps its plain middle once, and still paints every pixel of the whole, at
// its own size and scaled.
TEST_F(ImageTest, CompactedPicturesPaintTheWholePicture) {
    std::string svg = dir.Write("frame.svg",
                                "<svg xmlns='http://www.w3.org/2000/svg' width='100%' "
                                "height='100%'><rect x='0' y='0' width='100%' height='100%' "
                                "rx='14' ry='14' fill='#15171C' stroke='#343945' "
                                "stroke-width='2'/></svg>")
                          .string();
    auto whole = Image::FromFile(svg, 720, 480);
    auto compacted = Image::Compacted(whole);
    ASSERT_TRUE(compacted->IsCompacted());
    EXPECT_LT(cairo_image_surface_get_width(compacted->Surface()), 40);
    EXPECT_EQ(compacted->Width(), 720);
    EXPECT_EQ(compacted->Height(), 480);
    auto painted = Image::Blank(730, 490);
    cairo_t* cr = cairo_create(painted->Surface());
    cairo_translate(cr, 3, 5);
    compacted->Paint(cr, CAIRO_FILTER_GOOD);
    cairo_destroy(cr);
    int wrong = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 720; ++x)
            wrong += Pixel(*painted, x + 3, y + 5) != Pixel(*whole, x, y) ||
                     compacted->PixelAt(x, y) != Pixel(*whole, x, y);
    EXPECT_EQ(wrong, 0);
    auto scaledWhole = whole->Scaled(450, 130, CAIRO_FILTER_GOOD);
    auto scaledCompacted = compacted->Scaled(450, 130, CAIRO_FILTER_GOOD);
    for (int y = 0; y < 130; ++y)
        for (int x = 0; x < 450; ++x)
            wrong += Pixel(*scaledWhole, x, y) != Pixel(*scaledCompacted, x, y);
    EXPECT_EQ(wrong, 0);
    // A picture without long equal runs stays as it is.
    auto small = Image::FromFile(svg, 40, 40);
    EXPECT_EQ(Image::Compacted(small), small);
}

}  // namespace
