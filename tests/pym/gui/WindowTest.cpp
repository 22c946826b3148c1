#include "pym/gui/Window.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include "pym/core/ObjectFactory.h"
#include "pym/core/Signals.h"
#include "pym/gui/AppWindow.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/TickHook.h"
#include "pym/gui/TickSubscribers.h"
#include "pym/gui/TitleWindow.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/pym/gui/Swatch.h"
#include "tests/support/OffscreenHost.h"
#include "tests/support/SkinFixture.h"

using namespace Pym;
using Platform::HostEvent;
using Type = Platform::HostEvent::Type;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

std::string Place(const std::string& name, const std::string& x, const std::string& y,
                  const std::string& w, const std::string& h, const std::string& inner) {
    return "<CreateObject Name=\"" + name + "\" XPos=\"" + x + "\" YPos=\"" + y + "\" Width=\"" +
           w + "\" Height=\"" + h + "\">" + inner + "</CreateObject>";
}

class WindowTest : public Testing::SkinFixture {
protected:
    // Builds a window of the element's type from the document text.
    template <class W = Window>
    W* Load(const std::string& xml, const std::string& file = "XML/Window.xml") {
        Write(file, xml);
        TiXmlElement* root = loader.GetRootElement(file);
        if (!root) return nullptr;
        windows.emplace_back(CreateNamedObject(
            root->ValueStr(), "Win" + std::to_string(windows.size()), nullptr, root));
        host.Pump();
        return dynamic_cast<W*>(windows.back().get());
    }
    // A 100 x 60 window: a red swatch on the left half, a blue one on the right.
    Window* TwoSwatches(const std::string& attributes = "") {
        return Load("<Pym::Window XPos=\"10\" YPos=\"20\" Width=\"100\" Height=\"60\" " +
                    attributes + ">" +
                    Place("Left", "0", "0", "0.5", "1", "<Test::Swatch Colour=\"255,0,0\"/>") +
                    Place("Right", "0.5", "0", "0.5", "1", "<Test::Swatch Colour=\"0,0,255\"/>") +
                    "</Pym::Window>");
    }
    Testing::OffscreenWindow& Native() { return *host.Last(); }
    template <class T = Testing::Swatch>
    T* Find(GuiObject* scope, const std::string& name) {
        return dynamic_cast<T*>(FindObject(scope, name));
    }

    Testing::OffscreenHost host;
    XMLLoadSave loader;
    std::vector<std::unique_ptr<GuiObject>> windows;
};

TEST_F(WindowTest, ShownWindowPaintsItsTreeIntoTheHost) {
    cairo_surface_t* icon = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 24, 16);
    cairo_surface_write_to_png(icon, (dir.Path() / "icon.png").c_str());
    cairo_surface_destroy(icon);
    Window* window = TwoSwatches("Title=\"Ondrel\" Icon=\"icon.png\"");
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->Host(), nullptr);
    EXPECT_TRUE(Native().IsVisible());
    EXPECT_EQ(Native().Geometry(), (Platform::HostRect{10, 20, 100, 60}));
    EXPECT_EQ(Native().Title(), "Ondrel");
    EXPECT_EQ(Native().IconWidth(), 24);
    EXPECT_EQ(Native().IconHeight(), 16);
    EXPECT_EQ(Native().PixelAt(10, 30), kRed);
    EXPECT_EQ(Native().PixelAt(90, 30), kBlue);
    EXPECT_EQ(Find(window, "Left")->GetWidth(), 50);
}

TEST_F(WindowTest, PaintCycleRepaintsOnlyWhatChanged) {
    Window* window = TwoSwatches();
    auto* left = Find(window, "Left");
    auto* right = Find(window, "Right");
    Native().ClearPresented();

    // Ticks with nothing to do paint nothing.
    for (int i = 0; i < 20; ++i) Native().Inject(Type::Timer);
    EXPECT_TRUE(Native().Presented().empty());

    right->colour = Pym::ColourValue{255, 0, 255, 0};
    left->colour = Pym::ColourValue{255, 255, 255, 0};  // changed but not invalidated
    const int leftDraws = left->draws;
    right->Redraw();
    Native().Inject(Type::Timer);
    ASSERT_EQ(Native().Presented().size(), 1u);
    EXPECT_EQ(left->draws, leftDraws);  // outside the repaint: not even asked to draw
    EXPECT_EQ(Native().Presented()[0], (Platform::HostRect{50, 0, 50, 60}));
    EXPECT_EQ(Native().PixelAt(90, 30), 0xFF00FF00u);
    EXPECT_EQ(Native().PixelAt(10, 30), kRed);  // outside the dirty region: untouched

    // A repaint request of the whole window (an expose) paints everything.
    Native().Inject(Type::Expose);
    EXPECT_EQ(Native().Presented().back(), (Platform::HostRect{0, 0, 100, 60}));
    EXPECT_EQ(Native().PixelAt(10, 30), 0xFFFFFF00u);
}

TEST_F(WindowTest, HostEventsBecomeSignals) {
    Window* window = TwoSwatches();
    auto* left = Find(window, "Left");
    auto* right = Find(window, "Right");
    std::vector<std::string> log;
    using namespace Signal;
    Testing::Log(*window, MouseMove::Id(), log, "move");
    Testing::Log(*window, LeftButtonDblClk::Id(), log, "double");
    Testing::Log(*window, GuiBuilderActivate::Id(), log, "builder");
    Testing::Log(*window, WindowActivated::Id(), log, "activated");
    Testing::Log(*window, HostWindowMoved::Id(), log, "moved");
    int wheel = 0, elapsed = -1;
    std::string dropped;
    window->ConnectSlot(MouseWheel::Id(), nullptr, [&wheel](Signal::Base& s, GuiObject*) {
        wheel = static_cast<MouseWheel&>(s).delta;
    });
    window->ConnectSlot(Timer::Id(), nullptr, [&elapsed](Signal::Base& s, GuiObject*) {
        elapsed = static_cast<Timer&>(s).elapsedMs;
    });
    right->ConnectSlot(DropFile::Id(), nullptr, [&dropped](Signal::Base& s, GuiObject*) {
        dropped = static_cast<DropFile&>(s).file;
    });

    Native().Inject(Type::MouseMove, 5, 5);
    Native().Inject(Type::MouseMove, 5, 5);  // same point: not news
    Native().Inject(Type::MouseMove, 6, 5);
    Native().Inject(Type::LeftDown, 70, 12);
    EXPECT_EQ(right->presses, 1);
    EXPECT_EQ(right->lastX, 20);  // in the swatch's own coordinates
    EXPECT_EQ(left->presses, 0);
    Native().Inject(Type::LeftDoubleClick, 3, 3);
    HostEvent event;
    event.type = Type::Wheel;
    event.delta = -120;
    event.x = 3;
    Native().Inject(event);
    EXPECT_EQ(wheel, -120);
    event = {};
    event.type = Type::DropFile;
    event.x = 80;
    event.y = 30;
    event.text = "/tmp/click.wav";
    Native().Inject(event);
    EXPECT_EQ(dropped, "/tmp/click.wav");
    Native().Inject(Type::FocusGained);
    Native().Inject(Type::Moved, 300, 200);
    EXPECT_EQ(window->GetX(), 300);
    EXPECT_EQ(
        log, (std::vector<std::string>{"move", "move", "double", "builder", "activated", "moved"}));

    Native().Inject(Type::Timer);
    EXPECT_GE(elapsed, 0);
    elapsed = -1;
    // While the factory holds delivery, nothing reaches the tree.
    DllGlobalObjectFactoryInstance().SetDeliverySuspended(true);
    Native().Inject(Type::Timer);
    Native().Inject(Type::LeftDown, 70, 12);
    DllGlobalObjectFactoryInstance().SetDeliverySuspended(false);
    EXPECT_EQ(elapsed, -1);
    EXPECT_EQ(right->presses, 1);
    // The application's tick work runs at a shown window's ticks, before they reach the
    // tree; a hidden window (a closed popup) ticks for nothing.
    int hookRuns = 0;
    Pym::SetTickHook([&] {
        ++hookRuns;
        EXPECT_EQ(elapsed, -1);
    });
    Native().Inject(Type::Timer);
    EXPECT_EQ(hookRuns, 1);
    EXPECT_GE(elapsed, 0);
    elapsed = -1;
    window->SetVisible(false);
    Native().Inject(Type::Timer);  // hidden: no tick
    EXPECT_EQ(elapsed, -1);
    EXPECT_EQ(hookRuns, 1);
    Pym::SetTickHook(nullptr);
}

// Counts the window's ticks; subscribes to them when made with `subscribe`.
class TickCounter : public GuiObject {
public:
    explicit TickCounter(bool subscribe) {
        if (subscribe) SubscribeTicks();
    }
    bool NeedsTicks() const override { return wanted; }
    void OnTimer(Signal::Timer&) override { ++ticks; }
    bool wanted = false;
    int ticks = 0;
};

TEST_F(WindowTest, TicksReachTheSubscribersAloneAndTheLoopSleepsWhenNoneNeedsThem) {
    Window* window = TwoSwatches();
    TickCounter subscriber(true), deaf(false), hidden(true);
    Find(window, "Left")->AddChild(&subscriber, false);
    window->AddChild(&deaf, false);
    hidden.wanted = true;  // but in no shown tree
    Native().Inject(Type::Expose);

    EXPECT_EQ(TickSubscribers::WantedInMs(), -1);  // the loop may sleep
    Native().Inject(Type::Timer);
    Native().Inject(Type::Timer);
    EXPECT_EQ(subscriber.ticks, 2);
    EXPECT_EQ(deaf.ticks, 0);  // a tree broadcast would have reached it
    EXPECT_EQ(hidden.ticks, 0);

    subscriber.wanted = true;
    EXPECT_EQ(TickSubscribers::WantedInMs(), 0);
    window->SetVisible(false);
    EXPECT_EQ(TickSubscribers::WantedInMs(), -1);
    Native().Inject(Type::Timer);
    EXPECT_EQ(subscriber.ticks, 2);

    // Minimised, the window is out of sight yet ticks on (a speed trainer steps, the title
    // follows the tuner); nothing is painted and no repaint is left for the loop to spin on.
    window->SetVisible(true);
    Native().Minimize();
    Native().ClearPresented();
    subscriber.wanted = false;
    Native().Inject(Type::Timer);
    EXPECT_EQ(subscriber.ticks, 3);
    subscriber.Redraw();
    Native().Inject(Type::Timer);
    EXPECT_TRUE(Native().Presented().empty());
    EXPECT_EQ(TickSubscribers::WantedInMs(), -1);
    Native().Restore();  // shown again: painted whole
    host.Pump();
    ASSERT_FALSE(Native().Presented().empty());
    EXPECT_EQ(Native().Presented().back().width, Native().Geometry().width);
}

TEST_F(WindowTest, HoverAsksForTooltipsOnlyWithTheFocusAndNoButtonHeld) {
    Window* window = TwoSwatches();
    std::vector<std::string> log;
    Testing::Log(*window, Signal::ShowToolTip::Id(), log, "hover");
    Native().Inject(Type::MouseMove, 5, 5);
    Native().SetFocused(true);
    Native().Inject(Type::MouseMove, 6, 5);
    Native().Inject(Type::LeftDown, 6, 5);
    Native().Inject(Type::MouseMove, 7, 5);
    Native().Inject(Type::LeftUp, 7, 5);
    Native().Inject(Type::MouseMove, 8, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"hover", "hover"}));
}

// A swatch refreshed as a display is: alone over a copy of what lies beneath it.
class KeptSwatch : public Testing::Swatch {
public:
    KeptSwatch() { KeepBackdrop(); }
};
const bool keptSwatchRegistered = RegisterType<KeptSwatch>("Test::KeptSwatch", "");

TEST_F(WindowTest, AnObjectKeepingItsBackdropIsRepaintedAloneAsTheTreeWouldPaintIt) {
    Window* window = Load(
        "<Pym::Window XPos=\"0\" YPos=\"0\" Width=\"100\" Height=\"60\">" +
        Place("Back", "0", "0", "1", "1", "<Test::Swatch Colour=\"255,0,0\"/>") +
        Place("Display", "0.2", "0.2", "0.4", "0.4", "<Test::KeptSwatch Colour=\"0,255,0,128\"/>") +
        Place("Over", "0.5", "0.5", "0.5", "0.5", "<Test::Swatch Colour=\"0,0,255\"/>") +
        "</Pym::Window>");
    ASSERT_NE(window, nullptr);
    auto* back = Find(window, "Back");
    auto* display = Find<KeptSwatch>(window, "Display");
    auto* over = Find(window, "Over");
    over->SetVisible(false);
    Native().Inject(Type::Expose);
    auto screen = [this] {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x) pixels.push_back(Native().PixelAt(x, y));
        return pixels;
    };

    // Half transparent, the display shows what lies beneath: the copy, not a fresh paint.
    const int backDraws = back->draws;
    display->colour = Pym::ColourValue{128, 0, 0, 255};
    display->Redraw();
    Native().Inject(Type::Timer);
    EXPECT_EQ(back->draws, backDraws);
    EXPECT_EQ(Native().Presented().back(), (Platform::HostRect{20, 12, 40, 24}));
    const std::vector<std::uint32_t> alone = screen();
    Native().Inject(Type::Expose);
    EXPECT_GT(back->draws, backDraws);
    EXPECT_EQ(screen(), alone);

    // Something drawn over it: the tree paints it, and what lies over stays over.
    over->SetVisible(true);
    Native().Inject(Type::Expose);
    display->colour = Pym::ColourValue{255, 255, 255, 0};
    display->Redraw();
    const int treeDraws = back->draws;
    Native().Inject(Type::Timer);
    EXPECT_GT(back->draws, treeDraws);
    EXPECT_EQ(Native().PixelAt(55, 32), kBlue);
    EXPECT_EQ(Native().PixelAt(25, 15), 0xFFFFFF00u);
}

TEST_F(WindowTest, OverlaysAreDrawnOverTheTreeAndOfferedItsInput) {
    Window* window = TwoSwatches();
    Testing::Swatch overlay;
    overlay.colour = Pym::ColourValue{255, 0, 255, 0};
    overlay.Move(40, 20);
    overlay.Resize(20, 20);
    ScreenManager& screens = window->Host()->Screens();
    screens.AddOverlay(&overlay);
    Native().Inject(Type::Expose);
    EXPECT_EQ(Native().PixelAt(45, 25), 0xFF00FF00u);
    EXPECT_EQ(Native().PixelAt(35, 25), kRed);
    Native().Inject(Type::LeftDown, 45, 25);
    EXPECT_EQ(overlay.presses, 1);
    EXPECT_EQ(overlay.lastX, 5);  // in its own coordinates
    screens.RemoveOverlay(&overlay);
    Native().Inject(Type::Expose);
    EXPECT_EQ(Native().PixelAt(45, 25), kRed);
}

TEST_F(WindowTest, KeysReachTheSelectedObject) {
    Window* window = TwoSwatches();
    auto* left = Find(window, "Left");
    left->SetForceSelected(true);
    HostEvent key;
    key.type = Type::KeyDown;
    key.code = Platform::KeyLeft | Platform::kKeyDownBit;
    Native().Inject(key);
    key.type = Type::Character;
    key.code = 'a';
    Native().Inject(key);
    EXPECT_EQ(left->keys, (std::vector<int>{static_cast<int>(0x80000025u), 'a'}));
    EXPECT_TRUE(Find(window, "Right")->keys.empty());
}

TEST_F(WindowTest, PostedWorkRunsOnTheLoop) {
    Window* window = TwoSwatches();
    int ran = 0;
    host.Post([&ran] { ++ran; });
    host.Post([window] { window->Close(); });
    window->DoModal();
    EXPECT_EQ(ran, 1);
}

TEST_F(WindowTest, ShapedWindowIsCutWhereTheRenderingIsNearlyTransparent) {
    // Nothing drawn but two corners: one at alpha 9, one at alpha 10.
    Window* window =
        Load("<Pym::Window Width=\"40\" Height=\"40\" ShapedWindow=\"true\">" +
             Place("Cut", "0", "0", "10px", "10px", "<Test::Swatch Colour=\"0,0,0,9\"/>") +
             Place("Kept", "30px", "0", "10px", "10px", "<Test::Swatch Colour=\"0,0,0,10\"/>") +
             "</Pym::Window>");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IsShapeValid());
    EXPECT_GE(Native().ShapeCount(), 1);
    EXPECT_FALSE(Native().InsideShape(5, 5));  // alpha 9
    EXPECT_TRUE(Native().InsideShape(35, 5));  // alpha 10
    EXPECT_FALSE(Native().InsideShape(20, 20));

    // Presses on cut-away parts are not the window's, whatever the system does with them.
    auto* kept = Find(window, "Kept");
    auto* cut = Find(window, "Cut");
    Native().Inject(Type::LeftDown, 5, 5);
    Native().Inject(Type::LeftUp, 5, 5);
    Native().Inject(Type::LeftDown, 35, 5);
    EXPECT_EQ(cut->presses, 0);
    EXPECT_EQ(kept->presses, 1);

    // A new size is a new outline, at once.
    const int shapes = Native().ShapeCount();
    window->Resize(60, 40);
    EXPECT_TRUE(window->IsShapeValid());
    EXPECT_GT(Native().ShapeCount(), shapes);
}

// Whatever screen is shown and whoever resizes the window, its outline is the new size's: the
// grip dragged outwards keeps the pointer, a size from outside is not clipped to the old one.
TEST_F(WindowTest, TheOutlineFollowsTheGripAndSizesFromOutside) {
    Write("XML/Screen.xml",
          "<Pym::Screen>" +
              Place("Fill", "0", "0", "1", "1", "<Test::Swatch Colour=\"255,0,0\"/>") +
              Place("Resize", "1.0-10px", "1.0-10px", "10px", "10px", "<Pym::GridLayout/>") +
              "</Pym::Screen>");
    auto* window = Load<AppWindow>(
        "<Pym::AppWindow Width=\"200\" Height=\"100\" ShapedWindow=\"true\">"
        "<CreateScreen ScreenName=\"Main\" ObjectName=\"Pym::Screen\" "
        "Filename=\"XML/Screen.xml\"/></Pym::AppWindow>");
    ASSERT_NE(window, nullptr);
    window->Host()->Screens().ActivateScreen("Main", true);
    host.Pump();
    ASSERT_NE(window->ResizeGrip(), nullptr);
    // The outline is the screen's, not the empty content's the window was built with.
    EXPECT_TRUE(Native().InsideShape(100, 50));
    EXPECT_FALSE(Native().InsideShape(220, 110));

    Native().Inject(Type::MouseMove, 195, 95);
    Native().Inject(Type::LeftDown, 195, 95);
    Native().Inject(Type::MouseMove, 205, 100);
    Native().Inject(Type::MouseMove, 225, 115);
    Native().Inject(Type::LeftUp, 225, 115);
    EXPECT_EQ(window->GetWidth(), 230);
    EXPECT_TRUE(Native().InsideShape(228, 118));

    Native().SizeTo(400, 300);
    host.Pump();
    EXPECT_EQ(window->GetWidth(), 400);
    EXPECT_TRUE(Native().InsideShape(398, 298));
}

TEST_F(WindowTest, WhileAScreenIsShownTheWindowMovesByTheScreensHandle) {
    Write("XML/Screen.xml",
          "<Pym::Screen>" +
              Place("Bar", "0", "0", "1", "30px",
                    "<Pym::GridLayout>" + Place("Move", "0", "0", "1", "1", "<Pym::GridLayout/>") +
                        "</Pym::GridLayout>") +
              "</Pym::Screen>");
    auto* window =
        Load<AppWindow>("<Pym::AppWindow XPos=\"100\" YPos=\"100\" Width=\"200\" Height=\"100\">" +
                        Place("Move", "0", "1-20px", "1", "20px", "<Pym::GridLayout/>") +
                        "<CreateScreen ScreenName=\"Main\" ObjectName=\"Pym::Screen\" "
                        "Filename=\"XML/Screen.xml\"/></Pym::AppWindow>");
    ASSERT_NE(window, nullptr);
    window->Host()->Screens().ActivateScreen("Main", true);
    host.Pump();
    ASSERT_NE(window->MoveHandle(), nullptr);
    EXPECT_EQ(window->MoveHandle()->GetParent()->GetName(), "Bar");

    // The window's own handle is covered by the screen; the screen's handle drags.
    Native().Inject(Type::LeftDown, 50, 90);
    Native().Inject(Type::MouseMove, 60, 95);
    Native().Inject(Type::LeftUp, 60, 95);
    EXPECT_EQ(Native().Geometry().x, 100);
    Native().Inject(Type::LeftDown, 50, 10);
    Native().Inject(Type::MouseMove, 70, 15);
    Native().Inject(Type::LeftUp, 70, 15);
    EXPECT_EQ(Native().Geometry().x, 120);
    EXPECT_EQ(Native().Geometry().y, 105);

    // Moving the pointer within the same objects repaints nothing.
    Native().Inject(Type::MouseMove, 39, 50);  // off the bar: a change of hover
    host.Pump();
    Native().Inject(Type::Timer);
    Native().ClearPresented();
    for (int x = 40; x < 60; ++x) Native().Inject(Type::MouseMove, x, 50);
    Native().Inject(Type::Timer);
    EXPECT_TRUE(Native().Presented().empty());
}

TEST_F(WindowTest, AppWindowDragsByItsMoveHandleAndResizesByItsGrip) {
    auto* window = Load<AppWindow>(
        "<Pym::AppWindow XPos=\"100\" YPos=\"100\" Width=\"200\" Height=\"100\">" +
        Place("Move", "0", "0", "1", "20px", "<Pym::GridLayout/>") +
        Place("Resize", "1.0-10px", "1.0-10px", "10px", "10px", "<Pym::GridLayout/>") +
        "</Pym::AppWindow>");
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->MoveHandle(), nullptr);
    ASSERT_NE(window->ResizeGrip(), nullptr);

    Native().Inject(Type::LeftDown, 50, 10);
    Native().Inject(Type::MouseMove, 65, 17);
    Native().Inject(Type::LeftUp, 65, 17);
    EXPECT_EQ(Native().Geometry().x, 115);
    EXPECT_EQ(Native().Geometry().y, 107);
    EXPECT_EQ(window->GetX(), 115);

    Native().Inject(Type::MouseMove, 195, 95);
    EXPECT_EQ(Native().Cursor(), Platform::CursorType::SizeVertical);
    Native().Inject(Type::LeftDown, 195, 95);
    Native().Inject(Type::MouseMove, 215, 125);
    host.Pump();
    EXPECT_EQ(window->GetWidth(), 220);
    EXPECT_EQ(window->GetHeight(), 130);
    EXPECT_EQ(Native().Geometry().width, 220);
    // The grip follows its corner.
    EXPECT_EQ(window->ResizeGrip()->GetX(), 210);
    // Up past the top: no minimum without PreserveAspect.
    Native().Inject(Type::MouseMove, 215, -20);
    Native().Inject(Type::LeftUp, 215, -20);
    EXPECT_LE(window->GetHeight(), 1);
    Native().Inject(Type::MouseMove, 10, 50);
    EXPECT_EQ(Native().Cursor(), Platform::CursorType::Arrow);
}

TEST_F(WindowTest, PreservedAspectKeepsTheShapeAndTheMinimum) {
    auto* window = Load<AppWindow>(
        "<Pym::AppWindow Width=\"200\" Height=\"100\" PreserveAspect=\"true\" "
        "ResizeMinFactor=\"0.5\">" +
        Place("Resize", "1.0-10px", "1.0-10px", "10px", "10px", "<Pym::GridLayout/>") +
        "</Pym::AppWindow>");
    ASSERT_NE(window, nullptr);
    Native().Inject(Type::LeftDown, 195, 95);
    Native().Inject(Type::MouseMove, 300, 150);
    host.Pump();
    EXPECT_EQ(window->GetHeight(), 150);
    EXPECT_EQ(window->GetWidth(), 300);
    Native().Inject(Type::MouseMove, 300, 10);
    // The press on the grip at y 95 first fitted the window to (190, 95); the minimum is half
    // of that, halves rounded up.
    EXPECT_EQ(window->GetHeight(), 48);
    EXPECT_EQ(window->GetWidth(), 95);
}

TEST_F(WindowTest, ModalRunSwitchesOffTheOtherWindowUntilClosed) {
    Window* main = TwoSwatches();
    Testing::OffscreenWindow* mainNative = &Native();
    Window* dialog = Load(
        "<Pym::Window XPos=\"5\" YPos=\"6\" Width=\"30\" Height=\"20\" "
        "Visible=\"false\"/>",
        "XML/Dialog.xml");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->IsVisible());
    Testing::OffscreenWindow* dialogNative = &Native();
    std::vector<std::string> log;
    Testing::Log(*dialog, Signal::ObjectReady::Id(), log, "ready");
    Testing::Log(*dialog, Signal::WindowClose::Id(), log, "closed");
    bool blockedDuringRun = false, shownDuringRun = false;
    host.Post([&] {
        blockedDuringRun = !mainNative->InputEnabled();
        shownDuringRun = dialogNative->IsVisible() && dialogNative->HasFocus();
        // Clicks on the main window go nowhere meanwhile.
        mainNative->Inject(Type::LeftDown, 10, 10);
        dialog->Close();
    });
    dialog->DoModal(main);
    EXPECT_TRUE(blockedDuringRun);
    EXPECT_TRUE(shownDuringRun);
    EXPECT_EQ(Find(main, "Left")->presses, 0);
    EXPECT_TRUE(mainNative->InputEnabled());
    EXPECT_FALSE(dialog->IsModal());
    EXPECT_EQ(log, (std::vector<std::string>{"ready", "closed"}));
    // Placed relative to the other window.
    EXPECT_EQ(dialogNative->Geometry().x, 15);
    EXPECT_EQ(dialogNative->Geometry().y, 26);
}

TEST_F(WindowTest, SlotsCloseHideAndMaximiseTheWindow) {
    Window* window = TwoSwatches();
    std::vector<std::string> log;
    Testing::Log(*window, Signal::WindowClose::Id(), log, "closed");
    Testing::Log(*window, Signal::WindowVisible::Id(), log, "visible");
    Signal::Activate any;
    window->MaxRestoreSlot(any);
    host.Pump();
    EXPECT_TRUE(window->IsMaximized());
    EXPECT_EQ(Native().Geometry().width, 1920);
    window->MaxRestoreSlot(any);
    host.Pump();
    EXPECT_FALSE(window->IsMaximized());
    EXPECT_EQ(Native().Geometry().width, 100);
    window->MinimizeSlot(any);
    EXPECT_TRUE(window->IsMinimized());
    window->Restore();
    window->ToggleVisibilitySlot(any);
    EXPECT_FALSE(Native().IsVisible());
    window->ToggleVisibilitySlot(any);
    EXPECT_TRUE(Native().IsVisible());
    window->CloseSlot(any);
    EXPECT_FALSE(window->IsVisible());
    EXPECT_EQ(log, (std::vector<std::string>{"visible", "closed"}));
    window->SetCursor(1);
    EXPECT_EQ(Native().Cursor(), Platform::CursorType::SizeDiagonal);
    window->SetCursor(7);
    EXPECT_EQ(Native().Cursor(), Platform::CursorType::SizeDiagonal);
}

TEST(PopupPlacementTest, PopupsArePulledInsideTheirMonitor) {
    const Platform::HostRect monitor{0, 0, 800, 600};
    EXPECT_EQ(PullInsideMonitor({750, 100, 100, 50}, monitor),
              (Platform::HostRect{700, 100, 100, 50}));
    EXPECT_EQ(PullInsideMonitor({-30, 580, 100, 50}, monitor),
              (Platform::HostRect{0, 550, 100, 50}));
    EXPECT_EQ(PullInsideMonitor({10, 10, 900, 50}, monitor), (Platform::HostRect{0, 10, 900, 50}));
    EXPECT_EQ(PullInsideMonitor({1000, 10, 100, 50}, {800, 0, 800, 600}),
              (Platform::HostRect{1000, 10, 100, 50}));
}

TEST_F(WindowTest, PopupsStartHiddenAndSitRelativeToTheMainWindow) {
    Window* main = TwoSwatches();
    // The popup's document takes the main window's document as context.
    Write("XML/Popup.xml",
          "<Pym::Window Type=\"Popup\" XPos=\"1850\" YPos=\"10\" Width=\"100\" "
          "Height=\"30\"/>");
    TiXmlElement* root = loader.GetRootElement("XML/Popup.xml", main->GetElement());
    ASSERT_NE(root, nullptr);
    std::unique_ptr<GuiObject> popup(CreateNamedObject("Pym::Window", "Pop", nullptr, root));
    ASSERT_NE(popup, nullptr);
    auto* window = static_cast<Window*>(popup.get());
    ASSERT_NE(window->Host(), nullptr);
    EXPECT_FALSE(window->IsVisible());
    Testing::OffscreenWindow& native = Native();
    EXPECT_EQ(native.Kind(), Platform::WindowKind::Popup);
    EXPECT_EQ(native.Geometry().x, 1820);  // 10 + 1850 pulled back to the monitor's edge
    EXPECT_EQ(native.Geometry().y, 30);
}

TEST_F(WindowTest, ChildWindowsFollowTheirParentsVisibility) {
    Window* main = TwoSwatches();
    Write("XML/Child.xml",
          "<Pym::Window Type=\"Child\" Width=\"20\" Height=\"20\" Visible=\"false\"/>");
    Write("XML/Popup.xml", "<Pym::Window Type=\"Popup\" Width=\"20\" Height=\"20\"/>");
    auto build = [&](const std::string& file, const std::string& name) {
        TiXmlElement* root = loader.GetRootElement(file, main->GetElement());
        return std::unique_ptr<GuiObject>(CreateNamedObject("Pym::Window", name, nullptr, root));
    };
    auto child = build("XML/Child.xml", "Kid");
    auto popup = build("XML/Popup.xml", "Pop");
    auto* childWindow = static_cast<Window*>(child.get());
    auto* popupWindow = static_cast<Window*>(popup.get());
    ASSERT_FALSE(childWindow->IsVisible());

    Signal::WindowVisible shown(main);
    childWindow->OnParentVisible(shown);
    popupWindow->OnParentVisible(shown);
    EXPECT_TRUE(childWindow->IsVisible());
    EXPECT_FALSE(popupWindow->IsVisible());  // only Child windows follow
    main->SetVisible(false);
    Signal::WindowVisible hidden(main);
    childWindow->OnParentVisible(hidden);
    EXPECT_FALSE(childWindow->IsVisible());
}

TEST_F(WindowTest, BadWindowElementsFailQuietly) {
    Window* unknown =
        Load("<Pym::Window Type=\"Floating\" Width=\"10\" Height=\"10\" Icon=\"missing.png\"/>");
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->GetType(), Window::Application);
    EXPECT_TRUE(TracedContaining("Bad window type specified"));
    EXPECT_NE(unknown->Host(), nullptr);
    EXPECT_TRUE(TracedContaining("missing.png"));

    Window* empty = Load("<Pym::Window/>", "XML/Empty.xml");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Host(), nullptr);
    EXPECT_TRUE(
        Traced("Pym::Window::LoadFromXml - Empty XML element - Window requires valid XML "
               "for construction"));
    EXPECT_TRUE(empty->Resize(0, 0));   // the size it has: true, even without a host
    EXPECT_FALSE(empty->Resize(5, 5));  // without a host nothing can be sized
    empty->SetVisible(true);
    empty->Close();

    Window* negative =
        Load("<Pym::Window Width=\"-20\" Height=\"0\">" +
                 Place("Left", "0", "0", "1", "1", "<Test::Swatch/>") + "</Pym::Window>",
             "XML/Negative.xml");
    ASSERT_NE(negative, nullptr);
    ASSERT_NE(negative->Host(), nullptr);
    EXPECT_EQ(negative->GetWidth(), 0);
    Native().Inject(Type::LeftDown, 0, 0);
    Native().Inject(Type::Timer);
    EXPECT_TRUE(negative->Resize(30, 20));
    host.Pump();
    EXPECT_EQ(Find(negative, "Left")->GetWidth(), 30);
    Find(negative, "Left")->colour = Pym::ColourValue{255, 0, 255, 0};
    Native().Inject(Type::Expose);
    EXPECT_EQ(Native().PixelAt(29, 19), 0xFF00FF00u);

    host.failCreation = true;
    Window* hostless = Load("<Pym::Window Width=\"10\" Height=\"10\"/>", "XML/Hostless.xml");
    ASSERT_NE(hostless, nullptr);
    EXPECT_EQ(hostless->Host(), nullptr);
    EXPECT_FALSE(hostless->Resize(20, 20));
    hostless->DoModal();  // returns at once
    EXPECT_EQ(host.loopsRun, 0);
}

TEST_F(WindowTest, TitleWindowPlacesItsDocumentUnderTheTitleBar) {
    Write("XML/Body.xml", "<Test::Swatch Colour=\"0,255,0\"/>");
    auto* window = Load<TitleWindow>(
        "<Pym::TitleWindow Width=\"100\" Height=\"100\" ObjectXML=\"XML/Body.xml\">" +
        Place("Move", "0", "0", "1", "0.1+10px", "<Pym::GridLayout/>") + "</Pym::TitleWindow>");
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->Content(), nullptr);
    EXPECT_EQ(window->Content()->GetY(), 20);
    EXPECT_EQ(window->Content()->GetHeight(), 80);
    EXPECT_EQ(window->Content()->GetWidth(), 100);
    Native().Inject(Type::Expose);
    EXPECT_EQ(Native().PixelAt(50, 50), 0xFF00FF00u);
}

}  // namespace
