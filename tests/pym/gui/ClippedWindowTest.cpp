#include <cstdint>

#include <gtest/gtest.h>

#include "pym/gfx/CairoDrawContext.h"
#include "pym/gui/ClippedWindow.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/pym/gui/Swatch.h"

using namespace Pym;
using Testing::MakeGrid;
using Testing::Probe;

namespace {

using Rect = GuiObject::Rect;

// The alpha and colour of a pixel, 0xAARRGGBB.
std::uint32_t PixelAt(Gfx::Image& image, int x, int y) {
    cairo_surface_flush(image.Surface());
    const unsigned char* data = cairo_image_surface_get_data(image.Surface());
    const int stride = cairo_image_surface_get_stride(image.Surface());
    return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
}

std::unique_ptr<Testing::Swatch> MakeSwatch(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    auto swatch = std::make_unique<Testing::Swatch>();
    swatch->colour = ColourValue{255, r, g, b};
    return swatch;
}

TEST(ClippedWindowTest, DrawsTheScrolledContentAndNothingOutsideItself) {
    // Content 100 x 100: red left half, blue right half.
    auto content = MakeGrid("content", 100, 100);
    auto red = MakeSwatch(255, 0, 0), blue = MakeSwatch(0, 0, 255);
    content->AddChildAtFractions(red.get(), 0, 0, 0.5f, 1);
    content->AddChildAtFractions(blue.get(), 0.5f, 0, 0.5f, 1);
    ClippedWindow viewport;
    viewport.Move(10, 10);
    viewport.SetContent(content.get());
    viewport.SetScroll(40, 30, 20, 20);

    auto canvas = Gfx::Image::Blank(60, 60);
    {
        Gfx::CairoDrawContext context(*canvas);
        viewport.Draw(context);
    }
    // Content x 40..59 shows at 10..29: red up to content x 49, blue from 50.
    EXPECT_EQ(PixelAt(*canvas, 10, 10), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(*canvas, 19, 29), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(*canvas, 20, 10), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(*canvas, 29, 29), 0xFF0000FFu);
    for (auto [x, y] : {std::pair{9, 15}, {30, 15}, {15, 9}, {15, 30}, {0, 0}, {59, 59}})
        EXPECT_EQ(PixelAt(*canvas, x, y), 0u) << x << "," << y;

    // Without content, or without an area, nothing is drawn at all.
    Testing::RecordingDrawContext recording;
    ClippedWindow empty;
    empty.Resize(20, 20);
    empty.Draw(recording);
    viewport.Resize(0, 20);
    viewport.Draw(recording);
    EXPECT_TRUE(recording.drawn.empty());
}

TEST(ClippedWindowTest, ContentAndScrollFollowTheViewport) {
    ClippedWindow viewport;
    Probe first("first"), second("second");
    viewport.SetContent(&first);
    viewport.SetContent(&second);  // replaces
    ASSERT_EQ(viewport.Children().size(), 1u);
    EXPECT_EQ(viewport.Children()[0], &second);
    EXPECT_EQ(first.GetParent(), nullptr);

    viewport.SetResizeContent(true);
    viewport.SetScroll(3, 4, 50, 40);
    EXPECT_EQ(second.GetRect(), (Rect{0, 0, 50, 40}));
    EXPECT_EQ(viewport.ScrollX(), 3);
    EXPECT_EQ(viewport.ScrollY(), 4);

    {
        Probe shortLived("short");
        viewport.SetContent(&shortLived);
    }
    EXPECT_EQ(viewport.GetContent(), nullptr);  // a destroyed content is forgotten
}

class ClippedWindowSignalTest : public ::testing::Test {
protected:
    // A 100 x 100 root with a 20 x 20 viewport at (10, 10), scrolled down by 40 over a content
    // column 20 wide: "top" at content y 0, "shown" at 40, "below" at 60.
    void SetUp() override {
        root->SetScreenManager(&screens);
        content->AddChildAt(&top, GridVal(), GridVal(0, 0), GridVal(20, 0), GridVal(20, 0));
        content->AddChildAt(&shown, GridVal(), GridVal(40, 0), GridVal(20, 0), GridVal(20, 0));
        content->AddChildAt(&below, GridVal(), GridVal(60, 0), GridVal(20, 0), GridVal(20, 0));
        viewport.SetContent(content.get());
        root->AddChildAt(&viewport, GridVal(10, 0), GridVal(10, 0), GridVal(20, 0), GridVal(20, 0));
        viewport.SetScroll(0, 40, 20, 20);
        for (Probe* probe : {&top, &shown, &below})
            Testing::Log(*probe, Signal::Activate::Id(), log, probe->GetName());
    }
    void Click(int x, int y) {
        Signal::MouseMove move(x, y);
        root->SendSignal(move);
        Signal::LeftButtonUp up(x, y);
        root->SendSignal(up);
    }

    Testing::RecordingScreenManager screens;
    std::unique_ptr<GridLayout> root = MakeGrid("root", 100, 100);
    std::unique_ptr<GridLayout> content = MakeGrid("content", 20, 100);
    ClippedWindow viewport;
    Probe top{"top"}, shown{"shown"}, below{"below"};
    std::vector<std::string> log;
};

TEST_F(ClippedWindowSignalTest, PointsReachTheContentInItsOwnCoordinates) {
    EXPECT_EQ(shown.GetAbsoluteX(), 10);
    EXPECT_EQ(shown.GetAbsoluteY(), 10);     // drawn where the viewport shows it
    EXPECT_EQ(viewport.GetAbsoluteY(), 10);  // the viewport itself does not scroll

    std::pair<int, int> at{-1, -1};
    shown.ConnectSlot(Signal::MouseClick::Id(), nullptr, [&](Signal::Base& s, GuiObject*) {
        auto& click = static_cast<Signal::MouseClick&>(s);
        at = {click.x, click.y};
    });
    Click(15, 17);
    EXPECT_EQ(log, (std::vector<std::string>{"shown"}));
    EXPECT_EQ(at, std::make_pair(5, 7));
}

TEST_F(ClippedWindowSignalTest, AClickOutsideDoesNotReachWhatIsScrolledOutOfViewBeneathIt) {
    // "below" lies at host y 30..49, just under the viewport; selected, it hears every
    // signal, but never at a point on itself.
    below.SetSelected(true);
    Click(15, 35);
    EXPECT_FALSE(below.IsMouseOver());
    EXPECT_TRUE(log.empty());

    // What is selected inside still hears the keyboard.
    Signal::KeyPress key(65);
    root->SendSignal(key);
    EXPECT_EQ(below.keys, std::vector<int>{65});
    EXPECT_TRUE(top.keys.empty());
}

TEST_F(ClippedWindowSignalTest, BroadcastsReachHiddenContent) {
    content->SetVisible(false);
    std::vector<std::string> timers;
    Testing::Log(top, Signal::Timer::Id(), timers, "top");
    Signal::Timer tick(1, 10);
    root->SendSignal(tick);
    EXPECT_EQ(timers, std::vector<std::string>{"top"});
    Click(15, 15);
    EXPECT_TRUE(log.empty());  // a directed signal does not
}

}  // namespace
