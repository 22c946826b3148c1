#include "pym/gui/Image.h"

#include <stb_image_write.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "pym/core/ObjectFactory.h"
#include "pym/gfx/CairoDrawContext.h"
#include "pym/gfx/ImageServer.h"
#include "pym/gui/DownloadCache.h"
#include "pym/gui/ObjectCreation.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/SkinFixture.h"

namespace fs = std::filesystem;
using Pym::DllGfxLayerImageServerInstance;
using Testing::LoopbackHttpServer;

namespace {

struct Pixel {
    int a, r, g, b;
};

// A back buffer and a context drawing into it.
struct Canvas {
    Canvas(int width, int height)
        : buffer(Pym::Gfx::Image::Blank(width, height)), context(*buffer) {}
    Pixel At(int x, int y) {
        cairo_surface_flush(buffer->Surface());
        const unsigned char* data = cairo_image_surface_get_data(buffer->Surface());
        const int stride = cairo_image_surface_get_stride(buffer->Surface());
        std::uint32_t p = reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
        return {int(p >> 24), int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)};
    }
    Pym::Gfx::ImagePtr buffer;
    Pym::Gfx::CairoDrawContext context;
};

class ImageWidgetTest : public Testing::SkinFixture {
protected:
    void SetUp() override {
        SkinFixture::SetUp();
        // 8 x 8: left half opaque red, right half fully transparent.
        std::vector<unsigned char> halves(8 * 8 * 4, 0);
        // 8 x 8: left half red, right half blue, all opaque.
        std::vector<unsigned char> redBlue(8 * 8 * 4, 0);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                unsigned char* h = &halves[(y * 8 + x) * 4];
                unsigned char* rb = &redBlue[(y * 8 + x) * 4];
                if (x < 4) h[0] = 255, h[3] = 255;
                (x < 4 ? rb[0] : rb[2]) = 255;
                rb[3] = 255;
            }
        dir.Write("images/.keep", "");
        ASSERT_TRUE(stbi_write_png(Path("images/halves.png").c_str(), 8, 8, 4, halves.data(), 32));
        ASSERT_TRUE(
            stbi_write_png(Path("images/redblue.png").c_str(), 8, 8, 4, redBlue.data(), 32));
        Write("images/broken.png", "\x89PNG\r\n\x1a\nthis is no picture");
    }

    std::string Path(const std::string& relative) const { return (dir.Path() / relative).string(); }

    // A widget built by the factory from skin text, as a screen builds it.
    std::unique_ptr<Pym::GuiObject> Build(const std::string& element) {
        Write("XML/Picture.xml", element);
        TiXmlElement* root = loader.GetRootElement("XML/Picture.xml");
        EXPECT_NE(root, nullptr);
        return std::unique_ptr<Pym::GuiObject>(
            Pym::CreateNamedObject("Pym::Image", "Picture", nullptr, root));
    }

    // A widget at (x, y) of the given size showing a picture.
    std::unique_ptr<Pym::Image> Placed(const std::string& picture, int x, int y, int width,
                                       int height, bool useCache = true) {
        auto image = std::make_unique<Pym::Image>();
        image->SetUseCache(useCache);
        image->Move(x, y);
        image->Resize(width, height);
        EXPECT_TRUE(image->SetImage(picture, false));
        return image;
    }

    Pym::XMLLoadSave loader;
};

TEST_F(ImageWidgetTest, ReadsItsAttributesWithTheirDefaults) {
    EXPECT_TRUE(Pym::DllGlobalObjectFactoryInstance().IsRegistered("Pym::Image"));
    EXPECT_EQ(Pym::DllDocMapInstance().GetDefaultXml("Pym::Image"), "$PYM/Objects/Image/Image.xml");

    auto plain = Build("<Pym::Image ImageFile=\"images/halves.png\"/>");
    auto* image = dynamic_cast<Pym::Image*>(plain.get());
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->IsImage());
    EXPECT_EQ(image->GetPath(), "images/halves.png");
    EXPECT_EQ(image->GetInterpolation(), Pym::Gfx::InterpolationHighQualityBicubic);
    EXPECT_TRUE(image->UsesCache());
    EXPECT_EQ(image->GetNotSelectable(), 1);

    auto named = Build(
        "<Pym::Image Filename=\"images/redblue.png\" InterpMode=\"NearestNeighbor\" "
        "UseCache=\"false\"/>");
    image = dynamic_cast<Pym::Image*>(named.get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetPath(), "images/redblue.png");
    EXPECT_EQ(image->GetInterpolation(), Pym::Gfx::InterpolationNearestNeighbor);
    EXPECT_FALSE(image->UsesCache());

    auto unknownMode =
        Build("<Pym::Image ImageFile=\"images/halves.png\" InterpMode=\"Sharpest\"/>");
    image = dynamic_cast<Pym::Image*>(unknownMode.get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetInterpolation(), Pym::Gfx::InterpolationHighQualityBicubic);

    EXPECT_EQ(Build("<Pym::Image InterpMode=\"Bilinear\"/>"), nullptr);
    EXPECT_TRUE(Traced("Image: ImageFile attribute missing in xml"));

    EXPECT_EQ(Build("<Pym::Image ImageFile=\"images/broken.png\"/>"), nullptr);
    EXPECT_TRUE(Traced("Pym::Image::SetImage : Failed to create image images/broken.png"));
    EXPECT_TRUE(Traced("Image: failed to load image images/broken.png"));
    EXPECT_EQ(Build("<Pym::Image ImageFile=\"images/none.png\"/>"), nullptr);
}

TEST_F(ImageWidgetTest, TheSkinsDefaultTemplateBuildsAPicture) {
    WriteLibrary("Objects/Image/Image.xml",
                 Testing::ReadFile(std::string(ONDREL_SOURCE_DIR) +
                                   "/skin/lib/PYM/XML/Objects/Image/Image.xml"));
    auto built = Build(
        "<Pym::Image BaseXML=\"default\" ImageFile=\"images/halves.png\" "
        "InterpMode=\"Bilinear\"/>");
    auto* image = dynamic_cast<Pym::Image*>(built.get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetPath(), "images/halves.png");
    EXPECT_EQ(image->GetInterpolation(), Pym::Gfx::InterpolationBilinear);
    EXPECT_TRUE(image->UsesCache());
}

TEST_F(ImageWidgetTest, WidgetsOfOneFileAndSizeShareOneCachedPicture) {
    auto& server = DllGfxLayerImageServerInstance();
    auto first = Placed("images/redblue.png", 0, 0, 20, 10);
    auto second = Placed("images/redblue.png", 30, 0, 20, 10);
    Canvas canvas(100, 40);
    first->Draw(canvas.context);
    second->Draw(canvas.context);
    EXPECT_EQ(server.EntryCount("images/redblue.png"), 1u);
    auto third = Placed("images/redblue.png", 0, 20, 40, 16);
    third->Draw(canvas.context);
    EXPECT_EQ(server.EntryCount("images/redblue.png"), 2u);
    // Each drew the picture made at its own size.
    EXPECT_EQ(canvas.At(2, 5).r, 255);
    EXPECT_EQ(canvas.At(48, 5).b, 255);
    EXPECT_EQ(canvas.At(38, 30).b, 255);
    EXPECT_EQ(canvas.At(60, 5).a, 0);
}

TEST_F(ImageWidgetTest, ABadPictureKeepsThePreviousOne) {
    auto image = std::make_unique<Pym::Image>();
    ASSERT_TRUE(image->SetImage("images/redblue.png", true));
    EXPECT_EQ(image->GetRect(), (Pym::GuiObject::Rect{0, 0, 8, 8}));  // its natural size
    EXPECT_FALSE(image->SetImage("images/broken.png", false));
    EXPECT_FALSE(image->SetImage("images/none.png", true));
    EXPECT_EQ(image->GetPath(), "images/redblue.png");
    EXPECT_EQ(image->GetRect(), (Pym::GuiObject::Rect{0, 0, 8, 8}));
    Canvas canvas(8, 8);
    image->Draw(canvas.context);
    EXPECT_EQ(canvas.At(1, 1).r, 255);
    EXPECT_EQ(canvas.At(6, 6).b, 255);

    // The file disappearing after it was shown does not blank the widget either.
    Write("images/gone.png", Testing::ReadFile(Path("images/halves.png")));
    ASSERT_TRUE(image->SetImage("images/gone.png", false));
    Canvas before(8, 8);
    image->Draw(before.context);
    fs::remove(Path("images/gone.png"));
    image->Resize(16, 16);
    Canvas after(16, 16);
    image->Draw(after.context);
    EXPECT_EQ(after.At(2, 2).r, 255);
    EXPECT_EQ(after.At(14, 2).a, 0);
}

TEST_F(ImageWidgetTest, DrawsAtTheContextsAlphaWithOrWithoutTheCache) {
    for (bool useCache : {true, false}) {
        SCOPED_TRACE(useCache ? "cache" : "no cache");
        auto image = Placed("images/halves.png", 10, 10, 16, 16, useCache);
        Canvas full(40, 40);
        image->Draw(full.context);
        Pixel red = full.At(12, 20);
        EXPECT_EQ(red.a, 255);
        EXPECT_EQ(red.r, 255);
        EXPECT_EQ(full.At(24, 20).a, 0);  // the transparent half
        EXPECT_EQ(full.At(5, 5).a, 0);    // outside the widget
        EXPECT_EQ(full.At(12, 27).a, 0);

        Canvas none(40, 40);
        none.context.PushAlpha(0.0f);
        image->Draw(none.context);
        EXPECT_EQ(none.At(12, 20).a, 0);

        Canvas half(40, 40);
        image->SetAlpha(0.5f);
        image->Draw(half.context);
        EXPECT_NEAR(half.At(12, 20).a, 128, 2);
        EXPECT_FLOAT_EQ(half.context.Alpha(), 1.0f);

        Canvas hidden(40, 40);
        image->SetAlpha(1.0f);
        image->SetVisible(false);
        image->DrawSelf(hidden.context);
        EXPECT_EQ(hidden.At(12, 20).a, 0);
    }
}

TEST_F(ImageWidgetTest, DrawsAPartOfThePictureIntoARectangle) {
    for (bool useCache : {true, false}) {
        SCOPED_TRACE(useCache ? "cache" : "no cache");
        // The picture (8 x 8) stretched over 16 x 16: x 12..15 in widget units is blue, far
        // enough from the red half that no filter mixes the two.
        auto image = Placed("images/redblue.png", 0, 0, 16, 16, useCache);
        Canvas canvas(30, 30);
        EXPECT_TRUE(image->DrawPart(canvas.context, {12, 0, 4, 16}, {10, 10, 12, 12}));
        for (auto [x, y] : {std::pair{10, 10}, {21, 21}, {15, 18}}) {
            EXPECT_EQ(canvas.At(x, y).b, 255);
            EXPECT_EQ(canvas.At(x, y).r, 0);
        }
        EXPECT_EQ(canvas.At(9, 15).a, 0);  // nothing outside the destination
        EXPECT_EQ(canvas.At(22, 15).a, 0);
        EXPECT_EQ(canvas.At(15, 22).a, 0);
        EXPECT_TRUE(image->DrawPart(canvas.context, {0, 0, 2, 2}, {0, 0, 4, 4}));
        EXPECT_EQ(canvas.At(3, 3).r, 255);
        EXPECT_TRUE(image->DrawPart(canvas.context, {0, 0, 0, 0}, {0, 5, 5, 5}));
        EXPECT_EQ(canvas.At(2, 7).a, 0);
    }
}

TEST_F(ImageWidgetTest, TransparentPixelsAreNotPartOfTheWidget) {
    for (bool useCache : {true, false}) {
        SCOPED_TRACE(useCache ? "cache" : "no cache");
        auto image = Placed("images/halves.png", 10, 10, 8, 8, useCache);
        EXPECT_TRUE(image->HitTest(10, 10));
        EXPECT_TRUE(image->HitTest(13, 17));
        EXPECT_FALSE(image->HitTest(14, 10));  // transparent half
        EXPECT_FALSE(image->HitTest(17, 17));
        EXPECT_FALSE(image->HitTest(9, 10));  // outside
        EXPECT_FALSE(image->HitTest(10, 18));
        // Stretched, the picture's halves follow the widget.
        image->Resize(32, 8);
        EXPECT_TRUE(image->HitTest(10 + 12, 12));
        EXPECT_FALSE(image->HitTest(10 + 24, 12));
        EXPECT_FALSE(image->HitTest(10 + 31, 12));
    }
    // Without a picture the whole rectangle counts.
    Pym::Image empty;
    empty.Resize(4, 4);
    EXPECT_TRUE(empty.HitTest(3, 3));
}

class ImageDownloadTest : public ImageWidgetTest {
protected:
    std::size_t FilesIn(const fs::path& folder) {
        std::size_t count = 0;
        std::error_code error;
        for (auto it = fs::directory_iterator(folder, error);
             !error && it != fs::directory_iterator(); ++it)
            ++count;
        return count;
    }
    std::string Cache() const { return Path("cache"); }
    std::unique_ptr<Pym::Image> Widget() {
        auto image = std::make_unique<Pym::Image>();
        image->SetDownloadOptions({1, 1, 1024 * 1024});
        return image;
    }
};

TEST_F(ImageDownloadTest, AWebPictureIsFetchedOnceIntoTheCacheFolder) {
    LoopbackHttpServer server(LoopbackHttpServer::Behaviour::Serve,
                              Testing::ReadFile(Path("images/redblue.png")));
    const std::string address = server.Address("/skins/red%20blue.png?size=8");
    auto image = Widget();
    ASSERT_TRUE(image->SetImageFromAddress(address, Cache(), true));
    const std::string local = Pym::DownloadCache::LocalPath(Cache(), address);
    EXPECT_TRUE(fs::is_regular_file(local));
    EXPECT_EQ(fs::path(local).parent_path(), fs::path(Cache()));
    EXPECT_EQ(FilesIn(Cache()), 1u);
    EXPECT_EQ(image->GetPath(), local);
    EXPECT_EQ(image->GetWidth(), 8);

    auto again = Widget();
    ASSERT_TRUE(again->SetImageFromAddress(address, Cache() + "/", false));
    EXPECT_EQ(server.Requests(), 1);

    // A local name is shown from its copy in the cache folder when there is one.
    Write("cache/logo.jpg", Testing::ReadFile(Path("images/halves.png")));
    ASSERT_TRUE(again->SetImageFromAddress("logo", Cache() + "/", false));
    EXPECT_EQ(again->GetPath(), Cache() + "/logo.jpg");
    ASSERT_TRUE(again->SetImageFromAddress("images/redblue.png", Cache() + "/", false));
    EXPECT_EQ(again->GetPath(), "images/redblue.png");
}

TEST_F(ImageDownloadTest, AFailedDownloadKeepsNoFileAndThePreviousPicture) {
    struct Case {
        LoopbackHttpServer::Behaviour behaviour;
        std::string body;
    };
    const std::string png = Testing::ReadFile(Path("images/redblue.png"));
    for (const Case& failing : {Case{LoopbackHttpServer::Behaviour::NotFound, ""},
                                Case{LoopbackHttpServer::Behaviour::Truncate, png},
                                Case{LoopbackHttpServer::Behaviour::Stall, ""},
                                Case{LoopbackHttpServer::Behaviour::Serve, "<html>sorry</html>"}}) {
        LoopbackHttpServer server(failing.behaviour, failing.body);
        auto image = Widget();
        ASSERT_TRUE(image->SetImage("images/halves.png", true));
        EXPECT_FALSE(image->SetImageFromAddress(server.Address("/p.png"), Cache(), false));
        EXPECT_EQ(image->GetPath(), "images/halves.png");
        EXPECT_EQ(FilesIn(Cache()), 0u);
        EXPECT_GE(server.Requests(), 1);
    }
    // Nothing listens here at all.
    auto image = Widget();
    EXPECT_FALSE(image->SetImageFromAddress("http://127.0.0.1:1/p.png", Cache(), false));
    EXPECT_EQ(FilesIn(Cache()), 0u);
}

TEST(DownloadCacheTest, NamesAreSafeAndDistinct) {
    using Pym::DownloadCache;
    EXPECT_TRUE(DownloadCache::IsWebAddress("http://example.org/a.png"));
    EXPECT_TRUE(DownloadCache::IsWebAddress("HTTPS://example.org/a.png"));
    EXPECT_FALSE(DownloadCache::IsWebAddress("ftp://example.org/a.png"));
    EXPECT_FALSE(DownloadCache::IsWebAddress("images/http://a.png"));

    const std::vector<std::string> addresses = {
        "http://example.org/a.png",
        "http://example.org/a_2Epng",
        "http://example.org/a/png",
        "http://example.org/../../etc/passwd",
        "http://example.org/..",
        "http://example.org/%2e%2e/%2f",
        "http://example.org/" + std::string(300, 'x') + "1.svg",
        "http://example.org/" + std::string(300, 'x') + "2.svg",
        "http://example.org/" + std::string(300, 'x') + "/../" + std::string(300, 'y')};
    std::set<std::string> names;
    for (const std::string& address : addresses) {
        const std::string name = DownloadCache::FileName(address);
        SCOPED_TRACE(name);
        EXPECT_EQ(name.find('/'), std::string::npos);
        EXPECT_EQ(name.find('\\'), std::string::npos);
        EXPECT_NE(name.front(), '.');
        EXPECT_LE(name.size(), DownloadCache::kMaxNameLength);
        EXPECT_EQ(DownloadCache::FileName(address), name);  // stable
        names.insert(name);
    }
    EXPECT_EQ(names.size(), addresses.size());
    // The picture type survives shortening, so vector pictures are still known by name.
    EXPECT_TRUE(DownloadCache::FileName(addresses[6]).ends_with(".svg"));
    EXPECT_EQ(DownloadCache::LocalPath("cache", addresses[0]),
              "cache/" + DownloadCache::FileName(addresses[0]));
    EXPECT_EQ(DownloadCache::LocalPath("cache/", addresses[0]),
              "cache/" + DownloadCache::FileName(addresses[0]));
}

}  // namespace
