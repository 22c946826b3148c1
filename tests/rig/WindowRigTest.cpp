// A skinned, shaped window on the real SDL host under the rig's display: a rounded panel with
// a gradient, a PNG and an SVG picture, text and a button, built from a document. The test
// looks at the screen and clicks the button through the X server.
#include <cairo.h>
#include <stb_image.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/RigProgram.h"
#include "tests/support/Screenshot.h"

#include "platform/HostWindow.h"
#include "pym/core/ObjectFactory.h"
#include "pym/core/Signals.h"
#include "pym/gfx/CairoDrawContext.h"
#include "pym/gfx/Font.h"
#include "pym/gfx/Image.h"
#include "pym/gui/AppWindow.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ScreenManager.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/pym/gui/Swatch.h"
#include "tests/support/SkinFixture.h"

namespace {

using Testing::Screenshot;

// The demonstration's artwork: a rounded panel (transparent outside its corners, so the
// window's shape follows it) with a gradient, two pictures and a line of text.
class DemoPanel : public Pym::GuiObject {
public:
    bool DrawSelf(Pym::Gfx::DrawContext& context) override {
        auto* cairoContext = dynamic_cast<Pym::Gfx::CairoDrawContext*>(&context);
        if (!cairoContext) return false;
        const double w = GetWidth(), h = GetHeight(), r = 24;
        cairo_t* cr = cairoContext->Cairo();
        cairo_save(cr);
        cairo_new_sub_path(cr);
        cairo_arc(cr, w - r, r, r, -M_PI / 2, 0);
        cairo_arc(cr, w - r, h - r, r, 0, M_PI / 2);
        cairo_arc(cr, r, h - r, r, M_PI / 2, M_PI);
        cairo_arc(cr, r, r, r, M_PI, 3 * M_PI / 2);
        cairo_close_path(cr);
        cairo_clip(cr);
        context.FillGradient({0, 0, float(w), float(h)}, {255, 0x15, 0x17, 0x1C},
                             {255, 0x34, 0x39, 0x45});
        cairo_restore(cr);
        if (png) context.DrawImage(*png, {24, 24, 64, 64}, 0);
        if (svg) context.DrawImage(*svg, {104, 24, 64, 64}, 0);
        Pym::FontDescription description{"DejaVu Sans", 22, Pym::FontStyleBold, Pym::FontSizePoint};
        Pym::Gfx::Font font(description, w, h);
        context.DrawString(font, "Ondrel ♩ = 120", {24, 104, 300, 36}, {255, 0xE8, 0xEA, 0xF0},
                           Pym::Gfx::TextAlignment::Near, Pym::Gfx::TextTrimming::None);
        return true;
    }
    bool HitTestLocal(int x, int y) const override { return GuiObject::HitTestLocal(x, y); }
    Pym::Gfx::ImagePtr png, svg;
};
const bool panelRegistered = Pym::RegisterType<DemoPanel>("Test::DemoPanel", "");

void RunFor(int milliseconds) {
    Platform::Host().RunFor(milliseconds);
}

// A 32 x 32 PNG: solid green.
void WritePng(const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0x3D / 255.0, 0xDC / 255.0, 0x84 / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
}

// A shaped main window at a place and size, titled, around its content.
std::string ShapedWindow(int x, int y, int width, int height, const std::string& title,
                         const std::string& content) {
    return "<Pym::AppWindow XPos=\"" + std::to_string(x) + "\" YPos=\"" + std::to_string(y) +
           "\" Width=\"" + std::to_string(width) + "\" Height=\"" + std::to_string(height) +
           "\" ShapedWindow=\"true\" Title=\"" + title + "\">" + content + "</Pym::AppWindow>";
}

// The window a document describes, or null.
std::unique_ptr<Pym::GuiObject> BuildWindow(const std::string& file, const std::string& name) {
    Pym::XMLLoadSave loader;
    TiXmlElement* root = loader.GetRootElement(file);
    if (!root) return nullptr;
    return Pym::CreateNamedObject("Pym::AppWindow", name, nullptr, root);
}

// Shows the window (again) at its place. Without a window manager the first placement may be
// lost: it is placed again once mapped.
void ShowAt(Pym::AppWindow& app, int x, int y) {
    app.SetVisible(false);
    app.SetVisible(true);
    RunFor(400);
    app.Move(x + 1, y);
    app.Move(x, y);
    RunFor(300);
}

class WindowRigTest : public Testing::SkinFixture {};

TEST_F(WindowRigTest, ShapedSkinnedWindowShowsAndTakesClicks) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "start the rig: scripts/rig start";
    WritePng((dir.Path() / "green.png").string());
    Write("blue.svg",
          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">"
          "<rect width=\"10\" height=\"10\" fill=\"#4CC9F0\"/></svg>");
    const int x = 200, y = 150, width = 360, height = 220;
    Write(
        "XML/Demo.xml",
        ShapedWindow(x, y, width, height, "Ondrel demo",
                     "<CreateObject Name=\"Panel\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
                     "<Test::DemoPanel/></CreateObject>"
                     "<CreateObject Name=\"Play\" XPos=\"1.0-124px\" YPos=\"1.0-64px\" "
                     "Width=\"100px\" Height=\"40px\"><Test::Swatch Colour=\"255,138,61\"/>"
                     "</CreateObject>"));
    std::unique_ptr<Pym::GuiObject> window = BuildWindow("XML/Demo.xml", "Demo");
    ASSERT_NE(window, nullptr);
    auto* app = static_cast<Pym::AppWindow*>(window.get());
    ASSERT_NE(app->Host(), nullptr);
    auto* panel = dynamic_cast<DemoPanel*>(Pym::FindObject(window.get(), "Panel"));
    auto* play = dynamic_cast<Testing::Swatch*>(Pym::FindObject(window.get(), "Play"));
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(play, nullptr);
    panel->png = Pym::Gfx::Image::FromFile((dir.Path() / "green.png").string());
    panel->svg = Pym::Gfx::Image::FromFile((dir.Path() / "blue.svg").string(), 64, 64);
    std::vector<std::string> log;
    Testing::Log(*play, Pym::Signal::Activate::Id(), log, "activate");
    Testing::Log(*app, Pym::Signal::LeftButtonDown::Id(), log, "window press");

    // Shown while loading; the pictures came afterwards, so shape and paint again.
    ShowAt(*app, x, y);

    const char* keep = getenv("ONDREL_SCREENSHOT_DIR");
    const std::string shotPath =
        (keep ? std::string(keep) : dir.Path().string()) + "/window-rig.png";
    Screenshot shot(shotPath);
    ASSERT_TRUE(shot.Ok());
    EXPECT_EQ(shot.At(x + width - 74, y + height - 44), 0xFF8A3Du);  // the button
    EXPECT_EQ(shot.At(x + 56, y + 56), 0x3DDC84u);                   // the PNG
    EXPECT_EQ(shot.At(x + 136, y + 56), 0x4CC9F0u);                  // the SVG
    EXPECT_EQ(shot.At(x + 2, y + 2), 0x000000u);                     // cut corner: the desktop
    EXPECT_EQ(shot.At(x + width + 10, y + 100), 0x000000u);          // beside the window
    // The gradient darkens towards the top left.
    const std::uint32_t topLeft = shot.At(x + 40, y + 12), bottomRight = shot.At(x + 300, y + 200);
    EXPECT_LT(topLeft & 0xFF, bottomRight & 0xFF);
    // Some text pixels are light.
    int light = 0;
    for (int px = x + 24; px < x + 200; ++px)
        for (int py = y + 104; py < y + 140; ++py) light += (shot.At(px, py) & 0xFF) > 0xC0;
    EXPECT_GT(light, 30);

    // A click on a cut-away corner (not the window's), then one on the button, through the X
    // server, as a user's would arrive.
    const std::string click =
        "xdotool mousemove " + std::to_string(x + 2) + " " + std::to_string(y + 2) +
        " click 1 sleep 0.1 mousemove " + std::to_string(x + width - 74) + " " +
        std::to_string(y + height - 44) + " sleep 0.1 mousedown 1 sleep 0.1 mouseup 1";
    std::thread user([&click] { (void)system(click.c_str()); });
    RunFor(900);
    user.join();
    EXPECT_EQ(play->presses, 1);
    EXPECT_EQ(play->lastX, 50);
    EXPECT_EQ(log, (std::vector<std::string>{"window press", "activate"}));
}

// The X server's outline of the window ("WIDTHxHEIGHT"), as a window manager sees it.
std::string ShapeExtents(const std::string& id) {
    const std::string text = Testing::Output("xwininfo -shape -id " + id + " 2>/dev/null");
    const std::string label = "Window shape extents:";
    const std::size_t at = text.find(label);
    if (at == std::string::npos) return {};
    const std::size_t start = text.find_first_not_of(' ', at + label.size());
    return text.substr(start, text.find('+', start) - start);
}

// The outline follows every size while a screen is shown: the grip dragged outwards keeps
// growing the window, and a size set from outside (a window manager's maximise) is not clipped.
TEST_F(WindowRigTest, TheOutlineFollowsTheGripAndASizeFromOutside) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "start the rig: scripts/rig start";
    const int x = 120, y = 100, width = 300, height = 200;
    Write("XML/Screen.xml",
          "<Pym::Screen><CreateObject Name=\"Fill\" XPos=\"0\" YPos=\"0\" Width=\"1\" "
          "Height=\"1\"><Test::Swatch Colour=\"30,33,41\"/></CreateObject>"
          "<CreateObject Name=\"Resize\" XPos=\"1.0-16px\" YPos=\"1.0-16px\" Width=\"16px\" "
          "Height=\"16px\"><Test::Swatch Colour=\"255,138,61\"/></CreateObject></Pym::Screen>");
    Write("XML/Shaped.xml", ShapedWindow(x, y, width, height, "Ondrel outline",
                                         "<CreateScreen ScreenName=\"Main\" "
                                         "ObjectName=\"Pym::Screen\" "
                                         "Filename=\"XML/Screen.xml\"/>"));
    std::unique_ptr<Pym::GuiObject> window = BuildWindow("XML/Shaped.xml", "Shaped");
    auto* app = dynamic_cast<Pym::AppWindow*>(window.get());
    ASSERT_NE(app, nullptr);
    app->Host()->Screens().ActivateScreen("Main", true);
    ShowAt(*app, x, y);
    const std::string id = Testing::FindWindow("Ondrel outline");
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(ShapeExtents(id), "300x200");

    // Outwards by the grip, in small steps as a hand moves.
    std::string drag = "xdotool mousemove " + std::to_string(x + width - 8) + " " +
                       std::to_string(y + height - 8) + " sleep 0.1 mousedown 1";
    for (int step = 1; step <= 10; ++step)
        drag += " sleep 0.05 mousemove " + std::to_string(x + width - 8 + 10 * step) + " " +
                std::to_string(y + height - 8 + 6 * step);
    drag += " sleep 0.1 mouseup 1";
    std::thread user([&drag] { (void)system(drag.c_str()); });
    RunFor(1500);
    user.join();
    RunFor(200);
    EXPECT_EQ(app->GetWidth(), width + 100);
    EXPECT_EQ(app->GetHeight(), height + 60);
    EXPECT_EQ(ShapeExtents(id), std::to_string(width + 100) + "x" + std::to_string(height + 60));

    std::thread outside([&id] { (void)system(("xdotool windowsize " + id + " 630 420").c_str()); });
    RunFor(500);
    outside.join();
    RunFor(300);
    EXPECT_EQ(app->GetWidth(), 630);
    EXPECT_EQ(ShapeExtents(id), "630x420");
}

}  // namespace
