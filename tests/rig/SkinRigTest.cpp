// The default skin's main window on the real SDL host under the rig's display: the screen
// shows the rounded outline cut from the desktop and the title bar, and a click on the close
// button, through the X server, closes it. With ONDREL_SCREENSHOT_DIR set the screenshot is
// kept there as skin-rig.png.
#include <cairo.h>
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/HostWindow.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/AppWindow.h"
#include "tests/pym/gui/WidgetFixture.h"

namespace fs = std::filesystem;

namespace {

void RunFor(int milliseconds) {
    Platform::Host().RunFor(milliseconds);
}

// The whole screen through the X server, read back as 0xRRGGBB.
class ScreenCapture {
public:
    explicit ScreenCapture(const std::string& path) {
        if (system(("import -window root '" + path + "' 2>/dev/null").c_str()) == 0)
            surface_ = cairo_image_surface_create_from_png(path.c_str());
    }
    ~ScreenCapture() {
        if (surface_) cairo_surface_destroy(surface_);
    }
    bool Ok() const { return surface_ && cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    std::uint32_t At(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(surface_);
        const int stride = cairo_image_surface_get_stride(surface_);
        return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFFu;
    }

private:
    cairo_surface_t* surface_ = nullptr;
};

class SkinRigTest : public Testing::WidgetFixture {};

TEST_F(SkinRigTest, MainWindowShowsItsOutlineAndClosesFromItsButton) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "start the rig: scripts/rig start";
    UseRealSkin();
    fs::copy(fs::path(ONDREL_SOURCE_DIR) / "skin" / "XML", dir.Path() / "XML",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    TiXmlElement* root = loader.GetRootElement("XML/Metronome.xml");
    ASSERT_NE(root, nullptr);
    Pym::AppWindow app;
    ASSERT_TRUE(app.Build(loader.GetChildElement(root, "MetronomeApp")));
    ASSERT_NE(app.Host(), nullptr);
    const int x = 100, y = 100, width = app.GetWidth(), height = app.GetHeight();
    app.SetVisible(true);
    RunFor(400);
    // Without a window manager the first placement may be lost: place it again once mapped.
    app.Move(x + 1, y);
    app.Move(x, y);
    RunFor(300);

    const char* keep = getenv("ONDREL_SCREENSHOT_DIR");
    ScreenCapture shot((keep ? std::string(keep) : dir.Path().string()) + "/skin-rig.png");
    ASSERT_TRUE(shot.Ok());
    EXPECT_EQ(shot.At(x + 1, y + 1), 0x000000u);  // cut corners: the desktop shows
    EXPECT_EQ(shot.At(x + width - 2, y + height - 2), 0x000000u);
    EXPECT_EQ(shot.At(x + width / 2, y + 20), 0x1E2129u);   // the title bar
    EXPECT_EQ(shot.At(x + width / 2, y + 200), 0x15171Cu);  // the empty screen area

    auto* close = Pym::FindObject(&app, "Chrome->Close");
    ASSERT_NE(close, nullptr);
    const int cx = x + close->GetX() + close->GetWidth() / 2;
    const int cy = y + close->GetY() + close->GetHeight() / 2;
    const std::string click = "xdotool mousemove " + std::to_string(cx) + " " + std::to_string(cy) +
                              " sleep 0.1 mousedown 1 sleep 0.1 mouseup 1";
    std::thread user([&click] { (void)system(click.c_str()); });
    RunFor(900);
    user.join();
    EXPECT_FALSE(app.IsVisible());
}

}  // namespace
