#include "pym/gui/ScreenManager.h"

#include <gtest/gtest.h>

#include "pym/core/DocMap.h"
#include "pym/core/ObjectFactory.h"
#include "pym/core/Signals.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/Screen.h"
#include "pym/gui/Window.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/pym/gui/Swatch.h"
#include "tests/support/OffscreenHost.h"
#include "tests/support/SkinFixture.h"

using namespace Pym;

namespace {

// A screen that counts how many of its kind were ever built.
class CountedScreen : public Screen {
public:
    CountedScreen() { ++built; }
    static inline int built = 0;
};
const bool countedRegistered = RegisterType<CountedScreen>("Test::CountedScreen", "");

class ScreenManagerTest : public Testing::SkinFixture {
protected:
    void SetUp() override {
        SkinFixture::SetUp();
        for (const char* name : {"One", "Two", "Three"})
            Write(std::string("XML/") + name + ".xml",
                  "<Test::CountedScreen><CreateObject Name=\"Field\" XPos=\"0\" YPos=\"0\" "
                  "Width=\"0.5\" Height=\"0.5\"><Test::Swatch/></CreateObject>"
                  "</Test::CountedScreen>");
        content = Testing::MakeGrid("Content", 200, 100);
        manager.SetContent(content.get());
        manager.SetScreenArea(200, 100);
        Testing::Log(*content, Signal::ScreenActivation::Id(), log, "content");
        for (const char* name : {"One", "Two", "Three"})
            manager.DeclareScreen(name, "Test::CountedScreen", std::string("XML/") + name + ".xml",
                                  false);
    }
    void ShowInTurn() {
        for (const char* name : {"One", "Two", "Three"}) manager.ActivateScreen(name, true);
    }
    using Stack = std::vector<std::string>;

    ScreenManager manager;
    std::unique_ptr<GridLayout> content;
    std::vector<std::string> log;
};

TEST_F(ScreenManagerTest, BackStackRecordsVisitsAndStepsBack) {
    ShowInTurn();
    EXPECT_EQ(manager.BackStack(), (Stack{"One", "Two", "Three"}));
    EXPECT_EQ(manager.CurrentScreen(), "Three");

    manager.ScreenBack();
    EXPECT_EQ(manager.CurrentScreen(), "Two");
    EXPECT_EQ(manager.BackStack(), (Stack{"One", "Two"}));
    manager.ScreenBack();
    EXPECT_EQ(manager.CurrentScreen(), "One");
    manager.ScreenBack();  // one name left: nothing happens
    EXPECT_EQ(manager.CurrentScreen(), "One");
    EXPECT_EQ(manager.BackStack(), (Stack{"One"}));

    manager.ActivateScreen("One", true);  // already shown
    EXPECT_EQ(manager.BackStack(), (Stack{"One"}));
    manager.ActivateScreen("Two", false);
    EXPECT_EQ(manager.CurrentScreen(), "Two");
    EXPECT_EQ(manager.BackStack(), (Stack{"One"}));

    ShowInTurn();
    manager.ResetBackStack();
    EXPECT_EQ(manager.BackStack(), (Stack{"Three"}));
}

TEST_F(ScreenManagerTest, ScreensAreBuiltOnceSizedAndAnnounced) {
    const int before = CountedScreen::built;
    GuiObject* one = manager.GetScreen("One");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(CountedScreen::built, before + 1);
    EXPECT_EQ(one->GetWidth(), 200);
    EXPECT_EQ(one->GetHeight(), 100);
    // Its children were laid out in the area it was given.
    EXPECT_EQ(FindObject(one, "Field")->GetWidth(), 100);
    EXPECT_EQ(one->FindScreenManager(), &manager);

    std::vector<std::string> screenLog;
    Testing::Log(*one, Signal::ScreenActivation::Id(), screenLog, "one");
    manager.ActivateScreen("One", true);
    manager.ActivateScreen("Two", true);
    manager.ActivateScreen("One", true);
    EXPECT_EQ(CountedScreen::built, before + 2);  // One reused, Two built
    EXPECT_EQ(manager.Shown(), one);
    EXPECT_EQ(screenLog, (std::vector<std::string>{"one", "one", "one"}));
    // The content was told once that it is no longer shown.
    EXPECT_EQ(log, (std::vector<std::string>{"content"}));

    // A shown screen focuses its first child that takes the focus, and follows the window's
    // size.
    EXPECT_EQ(manager.Focus(), FindObject(one, "Field"));
    Signal::WindowSized sized(300, 120);
    manager.Deliver(sized);
    EXPECT_EQ(one->GetWidth(), 300);
    EXPECT_EQ(FindObject(one, "Field")->GetWidth(), 150);

    manager.ActivateScreen("", true);
    EXPECT_EQ(manager.Shown(), content.get());
    EXPECT_EQ(log, (std::vector<std::string>{"content", "content"}));
    EXPECT_TRUE(manager.FullRedrawRequested());
    EXPECT_TRUE(manager.InvalidRegion().Empty());
}

TEST_F(ScreenManagerTest, LaterDeclarationWinsAndDisposableScreensAreRebuilt) {
    Write("XML/Other.xml", "<Pym::Screen/>");
    manager.DeclareScreen("One", "Pym::Screen", "XML/Other.xml", true);
    const int before = CountedScreen::built;
    manager.ActivateScreen("One", true);
    ASSERT_NE(manager.Shown(), content.get());
    EXPECT_EQ(CountedScreen::built, before);  // built as a plain screen
    GuiObject* first = manager.Shown();
    EXPECT_EQ(dynamic_cast<CountedScreen*>(first), nullptr);

    manager.ActivateScreen("Two", true);
    manager.DisposePending();
    manager.ActivateScreen("One", true);
    EXPECT_NE(manager.Shown(), nullptr);
    EXPECT_EQ(manager.CurrentScreen(), "One");
}

TEST_F(ScreenManagerTest, AScreenThatFailsToLoadLeavesTheContentShown) {
    manager.DeclareScreen("Broken", "Pym::Screen", "XML/Missing.xml", false);
    Write("XML/Bad.xml", "<Pym::Screen><unclosed></Pym::Screen>");
    manager.DeclareScreen("Corrupt", "Pym::Screen", "XML/Bad.xml", false);
    manager.DeclareScreen("Unknown", "No::Such::Type", "XML/One.xml", false);
    for (const char* name : {"Broken", "Corrupt", "Unknown"}) {
        manager.ActivateScreen(name, true);
        EXPECT_EQ(manager.Shown(), content.get()) << name;
        EXPECT_EQ(manager.GetScreen(name), nullptr) << name;
    }
    // Still working: a good screen shows.
    manager.ActivateScreen("One", true);
    EXPECT_NE(manager.Shown(), content.get());
}

TEST_F(ScreenManagerTest, TheScreenCheckKeepsNoDocumentLoaded) {
    Write("XML/Field.xml", "<Test::Swatch/>");
    Write("XML/Four.xml",
          "<Test::CountedScreen><CreateObject Name=\"Field\"><Test::Swatch "
          "BaseXML=\"XML/Field.xml\"/></CreateObject></Test::CountedScreen>");
    manager.DeclareScreen("Four", "Test::CountedScreen", "XML/Four.xml", false);
    const std::size_t loaded = DllDocMapInstance().DocumentCount();
    manager.CheckAllScreens();
    EXPECT_EQ(DllDocMapInstance().DocumentCount(), loaded);
}

TEST_F(ScreenManagerTest, FocusMovesWithChangeSignalsAndPressesElsewhereClearIt) {
    auto first = std::make_unique<Testing::Probe>("first");
    auto second = std::make_unique<Testing::Probe>("second");
    std::vector<int> changes;
    for (GuiObject* object :
         {static_cast<GuiObject*>(first.get()), static_cast<GuiObject*>(second.get())})
        object->ConnectSlot(Signal::FocusChange::Id(), nullptr,
                            [&changes, object, &first](Signal::Base& s, GuiObject*) {
                                const int who = object == first.get() ? 10 : 20;
                                changes.push_back(who + static_cast<Signal::FocusChange&>(s).value);
                            });
    manager.SetFocus(first.get());
    manager.SetFocus(first.get());  // no change, no signal
    manager.SetFocus(second.get());
    EXPECT_EQ(changes, (std::vector<int>{10, 11, 20}));
    EXPECT_EQ(manager.Focus(), second.get());

    second->Resize(10, 10);
    content->AddChild(second.get(), false);
    Signal::LeftButtonDown inside(5, 5);
    manager.DeliverPress(inside, 5, 5);
    EXPECT_EQ(manager.Focus(), second.get());
    Signal::LeftButtonDown outside(150, 50);
    manager.DeliverPress(outside, 150, 50);
    EXPECT_EQ(manager.Focus(), nullptr);
    EXPECT_EQ(changes.back(), 21);
}

TEST_F(ScreenManagerTest, InvalidRegionTakesOnlyRealRectangles) {
    manager.Invalidate(0, 0, 0, 10);
    manager.Invalidate(0, 0, 10, -1);
    EXPECT_TRUE(manager.InvalidRegion().Empty());
    EXPECT_FALSE(manager.NeedsRedraw());
    manager.Invalidate(5, 6, 7, 8);
    EXPECT_TRUE(manager.NeedsRedraw());
    EXPECT_FALSE(manager.FullRedrawRequested());
    const Gfx::Rect bounds = manager.InvalidRegion().Bounds();
    EXPECT_EQ(bounds.x, 5);
    EXPECT_EQ(bounds.height, 8);
    manager.PaintDone();
    EXPECT_TRUE(manager.InvalidRegion().Empty());
    EXPECT_FALSE(manager.NeedsRedraw());
}

TEST_F(ScreenManagerTest, ClipboardAndTheListOfManagersGoThroughTheProcess) {
    Testing::OffscreenHost host;
    std::string text;
    EXPECT_FALSE(manager.GetClipboardText(text));
    EXPECT_TRUE(manager.SetClipboardText("120 BPM"));
    EXPECT_TRUE(manager.GetClipboardText(text));
    EXPECT_EQ(text, "120 BPM");

    const auto& managers = DllScreenCollectorInstance().Managers();
    EXPECT_NE(std::find(managers.begin(), managers.end(), &manager), managers.end());
    const std::size_t count = managers.size();
    {
        ScreenManager another;
        EXPECT_EQ(DllScreenCollectorInstance().Managers().size(), count + 1);
    }
    EXPECT_EQ(DllScreenCollectorInstance().Managers().size(), count);
}

// Screens declared by a window's document, shown by a button and left by a screen's slot.
TEST_F(ScreenManagerTest, CreateScreenAndScreenSlotsWorkFromTheSkin) {
    Testing::OffscreenHost host;
    Write("XML/Tuner.xml",
          "<Pym::Screen><CreateObject Name=\"Back\" XPos=\"0\" YPos=\"0\" Width=\"1\" "
          "Height=\"1\"><Pym::GridLayout/></CreateObject>"
          "<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Back\" SlotObject=\"this\" "
          "Slot=\"Pym::Screen::SlotScreenBack\"/></Pym::Screen>");
    Write("XML/Main.xml",
          "<Pym::Window Width=\"100\" Height=\"50\">"
          "<CreateScreen ScreenName=\"Tuner\" ObjectName=\"Pym::Screen\" "
          "Filename=\"XML/Tuner.xml\" DestroyOnDeactivate=\"false\"/>"
          "<CreateObject Name=\"Switch\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
          "<Pym::GridLayout/></CreateObject>"
          "<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Switch\" "
          "ScreenSlot=\"Tuner\"/></Pym::Window>");
    TiXmlElement* root = content->GetRootElement("XML/Main.xml");
    std::unique_ptr<GuiObject> window(CreateNamedObject("Pym::Window", "Main", nullptr, root));
    ASSERT_NE(window, nullptr);
    ScreenManager* screens = window->FindScreenManager();
    ASSERT_NE(screens, nullptr);
    ScreenManager* own = &static_cast<Window*>(window.get())->Host()->Screens();
    EXPECT_EQ(screens, own);

    Signal::Activate activate;
    FindObject(window.get(), "Switch")->SendSignalToSelf(activate);
    ASSERT_EQ(screens->CurrentScreen(), "Tuner");
    EXPECT_EQ(screens->BackStack(), (Stack{"Tuner"}));

    screens->ActivateScreen("", true);
    screens->ActivateScreen("Tuner", true);
    GuiObject* back = FindObject(screens->Shown(), "Back");
    ASSERT_NE(back, nullptr);
    back->SendSignalToSelf(activate);
    EXPECT_EQ(screens->CurrentScreen(), "");
    EXPECT_EQ(screens->Shown(), window.get());
}

}  // namespace
