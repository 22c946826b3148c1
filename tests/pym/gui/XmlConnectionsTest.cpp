#include <gtest/gtest.h>

#include "pym/core/ObjectFactory.h"
#include "pym/core/Signals.h"
#include "pym/gui/ObjectCreation.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/support/SkinFixture.h"

using namespace Pym;

namespace {

const char* kChildren =
    "<CreateObject Name=\"Button\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
    "  <Pym::GridLayout GlobalName=\"GlobalButton\"/></CreateObject>"
    "<CreateObject Name=\"Target\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
    "  <Pym::GridLayout/></CreateObject>";

class ConnectTest : public Testing::SkinFixture {
protected:
    // A tree whose top element holds the given "Connect" elements.
    void Build(const std::string& connects) {
        Write("XML/Tree.xml",
              "<Pym::GridLayout>" + std::string(kChildren) + connects + "</Pym::GridLayout>");
        Document* document = DllDocMapInstance().GetDocument("XML/Tree.xml");
        ASSERT_NE(document, nullptr);
        document->ownerScreenManager = &screens;
        tree = CreateNamedObject("Pym::GridLayout", "Top", nullptr, document->RootElement());
        ASSERT_NE(tree, nullptr);
        button = FindObject(tree.get(), "Button");
        target = FindObject(tree.get(), "Target");
    }
    void ConnectAll() {
        Signal::ConnectXMLSlots connect;
        tree->SendSignal(connect);
    }
    template <class S>
    void Fire(GuiObject* from) {
        S signal;
        from->SendSignalToSelf(signal);
    }
    std::string ConnectFailure(const std::string& connect) {
        Build(connect);
        Testing::TestShell().opened.clear();
        traces.clear();
        EXPECT_THROW(ConnectAll(), XMLLoadSaveException);
        return traces.empty() ? std::string() : traces.back();
    }

    Testing::RecordingScreenManager screens;
    std::unique_ptr<GuiObject> tree;
    GuiObject* button = nullptr;
    GuiObject* target = nullptr;
};

TEST_F(ConnectTest, ConnectsToThisNamedAndGlobalObjectsOnce) {
    Build(
        "<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Button\" SlotObject=\"this\" "
        "Slot=\"Pym::GuiObject::SlotHide\"/>"
        "<Connect Signal=\"Pym::Signal::String\" GlobalSignalObject=\"GlobalButton\" "
        "SlotObject=\"Target\" Slot=\"Pym::GuiObject::SlotHide\"/>");
    ConnectAll();
    ConnectAll();  // the second broadcast connects nothing again
    EXPECT_EQ(button->Connections().Count(Signal::Activate::Id()), 1u);
    EXPECT_EQ(button->Connections().Count(Signal::String::Id()), 1u);
    bool marked = false;
    XMLLoadSave::ReadAttribute(marked, tree->GetElement()->FirstChildElement("Connect"),
                               "__SlotConnected__");
    EXPECT_TRUE(marked);

    Fire<Signal::String>(button);
    EXPECT_FALSE(target->IsVisible());
    EXPECT_TRUE(tree->IsVisible());
    Fire<Signal::Activate>(button);
    EXPECT_FALSE(tree->IsVisible());
    // SlotHide repaints through the window's screen manager.
    EXPECT_FALSE(screens.invalidated.empty());
}

TEST_F(ConnectTest, AcceptedSignalClassIsEnforced) {
    Build(
        "<Connect Signal=\"Pym::Signal::ScreenActivation\" SignalObject=\"Button\" "
        "SlotObject=\"Target\" Slot=\"Pym::GridLayout::SlotRestartAnimation\"/>");
    ConnectAll();
    EXPECT_EQ(button->Connections().Count(Signal::ScreenActivation::Id()), 1u);

    EXPECT_EQ(ConnectFailure("<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Button\" "
                             "SlotObject=\"Target\" "
                             "Slot=\"Pym::GridLayout::SlotRestartAnimation\"/>"),
              "Failed to find or connect slot Pym::GridLayout::SlotRestartAnimation");
    ASSERT_EQ(Testing::TestShell().opened.size(), 1u);
    EXPECT_EQ(Testing::TestShell().opened[0].first, dir.Path().string() + "/XML/Tree.xml");
    EXPECT_EQ(Testing::TestShell().opened[0].second, "edit");
}

TEST_F(ConnectTest, EveryFailureIsReportedAndThrows) {
    EXPECT_EQ(ConnectFailure("<Connect Signal=\"Pym::Signal::Timer\" SignalObject=\"Button\" "
                             "SlotObject=\"this\" Slot=\"Pym::GuiObject::SlotHide\"/>"),
              "Failed to find signal Pym::Signal::Timer");
    EXPECT_EQ(ConnectFailure("<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Button\" "
                             "SlotObject=\"this\" Slot=\"Pym::Nothing::Slot\"/>"),
              "Failed to find or connect slot Pym::Nothing::Slot");
    EXPECT_EQ(ConnectFailure("<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Button\"/>"),
              "No Slot attribute specified");
    EXPECT_EQ(ConnectFailure("<Connect Signal=\"Pym::Signal::Activate\" ScreenSlot=\"Tuner\"/>"),
              "No Signal attribute specified");
    EXPECT_EQ(ConnectFailure("<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Button\" "
                             "ScreenSlot=\"Nowhere\"/>"),
              "ScreenSlot Nowhere names no declared screen");
    EXPECT_NE(ConnectFailure("<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Nobody\" "
                             "SlotObject=\"this\" Slot=\"Pym::GuiObject::SlotHide\"/>")
                  .find("Attribute = Could not find signal object"),
              std::string::npos);
    EXPECT_NE(ConnectFailure("<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Button\" "
                             "SlotObject=\"Nobody\" Slot=\"Pym::GuiObject::SlotHide\"/>")
                  .find("Attribute = Could not find slot object"),
              std::string::npos);
    EXPECT_NE(ConnectFailure("<Connect SignalObject=\"Button\" SlotObject=\"this\" "
                             "Slot=\"Pym::GuiObject::SlotHide\"/>")
                  .find("Attribute = Signal"),
              std::string::npos);
}

TEST_F(ConnectTest, ScreenSlotsActivateThroughTheWindowsScreenManager) {
    screens.DeclareScreen("Tuner", "Pym::Screen", "XML/Tuner.xml", false);
    screens.DeclareScreen("Main", "Pym::Screen", "XML/Main.xml", false);
    Build(
        "<Connect Signal=\"Pym::Signal::Activate\" SignalObject=\"Button\" "
        "ScreenSlot=\"Tuner\"/>"
        "<Connect Signal=\"Pym::Signal::String\" SignalObject=\"Button\" ScreenSlot=\"Main\" "
        "AddToBackStack=\"false\"/>");
    ConnectAll();
    Fire<Signal::Activate>(button);
    Fire<Signal::String>(button);
    EXPECT_EQ(screens.activated,
              (std::vector<std::pair<std::string, bool>>{{"Tuner", true}, {"Main", false}}));
}

}  // namespace
