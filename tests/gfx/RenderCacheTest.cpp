#include "pym/gfx/RenderCache.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "pym/gfx/Image.h"
#include "pym/gfx/PictureFile.h"
#include "tests/support/TempDir.h"

using Pym::Gfx::Image;
using Pym::Gfx::PictureFile;
using Pym::Gfx::RenderCache;
namespace fs = std::filesystem;

namespace {

bool SamePixels(const Image& a, const Image& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    cairo_surface_flush(a.Surface());
    cairo_surface_flush(b.Surface());
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(cairo_image_surface_get_data(a.Surface()) +
                            y * cairo_image_surface_get_stride(a.Surface()),
                        cairo_image_surface_get_data(b.Surface()) +
                            y * cairo_image_surface_get_stride(b.Surface()),
                        static_cast<std::size_t>(a.Width()) * 4) != 0)
            return false;
    return true;
}

std::string Svg(const char* fill) {
    return std::string(
               "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
               "<circle cx='5' cy='5' r='4' fill='") +
           fill + "'/></svg>";
}

TEST(RenderCacheTest, ARenderingComesBackExactlyAndOnlyForTheSamePictureAndSize) {
    Testing::TempDir dir;
    const fs::path folder = dir.Path() / "pictures";
    fs::create_directory(folder);
    const std::string path = (dir.Path() / "dot.svg").string();
    const std::string red = Svg("#ff0000"), blue = Svg("#0000ff");

    // Without a folder nothing is kept.
    RenderCache::SetFolder({});
    Image::FromBytes(red, path, 30, 20);
    EXPECT_TRUE(fs::is_empty(folder));

    RenderCache::SetFolder(folder);
    auto drawn = Image::FromBytes(red, path, 30, 20);
    auto natural = Image::FromBytes(red, path);
    auto key = PictureFile::RenderKey(red, path);
    EXPECT_TRUE(RenderCache::KnownGood(key));
    auto cached = RenderCache::Find(key, 30, 20);
    ASSERT_TRUE(cached);
    EXPECT_TRUE(cached->IsVector());
    EXPECT_TRUE(SamePixels(*cached, *drawn));
    ASSERT_TRUE(RenderCache::Find(key, 0, 0));
    EXPECT_TRUE(SamePixels(*RenderCache::Find(key, 0, 0), *natural));
    EXPECT_TRUE(SamePixels(*Image::FromBytes(red, path, 30, 20), *drawn));

    // Other bytes, another place or another size miss; so does an entry cut short, which is
    // then drawn again.
    EXPECT_FALSE(RenderCache::Find(PictureFile::RenderKey(blue, path), 30, 20));
    EXPECT_FALSE(RenderCache::Find(PictureFile::RenderKey(red, path + "x"), 30, 20));
    EXPECT_FALSE(RenderCache::Find(key, 31, 20));
    auto blueDrawn = Image::FromBytes(blue, path, 30, 20);
    EXPECT_FALSE(SamePixels(*blueDrawn, *drawn));
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.path().string().ends_with("-30x20.argb"))
            fs::resize_file(entry.path(), fs::file_size(entry.path()) - 7);
    EXPECT_FALSE(RenderCache::Find(key, 30, 20));
    EXPECT_TRUE(SamePixels(*Image::FromBytes(red, path, 30, 20), *drawn));

    // A run writes a few megabytes at most.
    Image::FromBytes(red, path, 1800, 1800);
    EXPECT_TRUE(RenderCache::Find(key, 1800, 1800));
    Image::FromBytes(red, path, 1000, 1000);
    EXPECT_FALSE(RenderCache::Find(key, 1000, 1000));

    // A broken picture is never taken for a good one.
    EXPECT_THROW(Image::FromBytes("<svg><rect", path, 30, 20), Image::InvalidImageException);
    RenderCache::SetFolder({});
}

}  // namespace
