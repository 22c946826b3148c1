#include <gtest/gtest.h>

#include <set>

#include "pym/core/ObjectFactory.h"
#include "pym/core/Signals.h"
#include "tests/pym/gui/FrameworkDoubles.h"

using namespace Pym;
using Testing::Log;
using Testing::MakeGrid;
using Testing::Probe;

namespace {

TEST(SignalTest, IdentifiersNamesAndModes) {
    std::set<int> ids = {Signal::Base::Id(),        Signal::Timer::Id(),
                         Signal::MouseWheel::Id(),  Signal::Activate::Id(),
                         Signal::WindowClose::Id(), Signal::ScreenActivation::Id()};
    EXPECT_EQ(ids.size(), 6u);
    EXPECT_GE(*ids.begin(), 2);  // the counter starts at 1 and is advanced before use
    EXPECT_EQ(Signal::MouseWheel().ClassName(), "MouseWheel");
    EXPECT_EQ(Signal::WindowClose().ClassName(), "CloseSignal");
    EXPECT_TRUE(Signal::MouseWheel().IsPositional());
    EXPECT_FALSE(Signal::KeyPress().IsPositional());
    EXPECT_TRUE(Signal::Timer().IsBroadcast());
    EXPECT_FALSE(Signal::LeftButtonUp().IsBroadcast());
    EXPECT_TRUE(Signal::GuiBuilderSelect().IsBroadcast());
    EXPECT_EQ(Signal::SelectObject().selectPass, 1);

    GlobalObjectFactory_& factory = DllGlobalObjectFactoryInstance();
    const std::vector<std::string> expected = {"ComboMenuButton::SignalStartAnimation",
                                               "FocusMenuButton::SignalStartAnimation",
                                               "MenuButton::SignalStartAnimation",
                                               "Pym::AnimatedImage::SignalAnimateBackwards",
                                               "Pym::AnimatedImage::SignalAnimateForwards",
                                               "Pym::Signal::Activate",
                                               "Pym::Signal::EditBoxSignal",
                                               "Pym::Signal::Hide",
                                               "Pym::Signal::LeftButtonDown",
                                               "Pym::Signal::ObjectDeselected",
                                               "Pym::Signal::ObjectReady",
                                               "Pym::Signal::ObjectSelected",
                                               "Pym::Signal::ObjectVisibilityChange",
                                               "Pym::Signal::RightButtonDown",
                                               "Pym::Signal::ScreenActivation",
                                               "Pym::Signal::Show",
                                               "Pym::Signal::String",
                                               "Pym::TextValidate::Validate",
                                               "Pym::Window::CloseSignal",
                                               "Pym::Window::VisibleSignal"};
    EXPECT_EQ(factory.SignalNames(), expected);
    EXPECT_EQ(factory.SignalIdByName("Pym::Signal::Activate"), Signal::Activate::Id());
    EXPECT_EQ(factory.SignalIdByName("Pym::Signal::Timer"), 0);  // not nameable in skins
    auto made = factory.MakeSignal("Pym::Window::CloseSignal");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->id, Signal::WindowClose::Id());
    EXPECT_EQ(made->mode, Signal::Broadcast);
}

// root(0,0 100x100) > panel(10,20 50x50) > {a(5,5 10x10), b(30,30 10x10)}
class RouteTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = MakeGrid("root", 100, 100);
        panel = MakeGrid("panel", 50, 50);
        root->AddChildAt(panel.get(), GridVal(10, 0), GridVal(20, 0), GridVal(50, 0),
                         GridVal(50, 0));
        panel->AddChildAt(&a, GridVal(5, 0), GridVal(5, 0), GridVal(10, 0), GridVal(10, 0));
        panel->AddChildAt(&b, GridVal(30, 0), GridVal(30, 0), GridVal(10, 0), GridVal(10, 0));
    }
    void LogAll(int id) {
        Log(*root, id, log, "root");
        Log(*panel, id, log, "panel");
        Log(a, id, log, "a");
        Log(b, id, log, "b");
    }

    std::unique_ptr<GridLayout> root, panel;
    Probe a{"a"}, b{"b"};
    std::vector<std::string> log;
};

TEST_F(RouteTest, BroadcastsReachEveryObjectChildrenFirstEvenHiddenOnes) {
    LogAll(Signal::Timer::Id());
    b.SetVisible(false);
    Signal::Timer timer(1, 10);
    a.SendSignal(timer);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "panel", "root"}));
    EXPECT_EQ(timer.sender, &a);
    EXPECT_EQ(timer.route.size(), 4u);
}

TEST_F(RouteTest, DirectedSignalsReachOnlyWhatThePointHitsInLocalCoordinates) {
    std::vector<std::pair<int, int>> points;
    auto record = [&points](Signal::Base& s, GuiObject*) {
        auto& up = static_cast<Signal::LeftButtonUp&>(s);
        points.emplace_back(up.x, up.y);
    };
    LogAll(Signal::LeftButtonUp::Id());
    panel->ConnectSlot(Signal::LeftButtonUp::Id(), nullptr, record);
    a.ConnectSlot(Signal::LeftButtonUp::Id(), nullptr, record);

    Signal::LeftButtonUp up(17, 28);  // host-window point inside a
    root->SendSignal(up);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "panel", "root"}));
    EXPECT_EQ(points, (std::vector<std::pair<int, int>>{{2, 3}, {7, 8}}));
    EXPECT_EQ(up.x, 17);  // restored after delivery
    EXPECT_EQ(up.y, 28);

    // A hidden object takes nothing directed, even when hit.
    log.clear();
    a.SetVisible(false);
    Signal::LeftButtonUp again(17, 28);
    root->SendSignal(again);
    EXPECT_EQ(log, (std::vector<std::string>{"panel", "root"}));

    // Keys go to what is selected, through the containers that hold it.
    Signal::KeyPress key(65);
    root->SendSignal(key);
    EXPECT_TRUE(b.keys.empty());
}

TEST_F(RouteTest, SendToSelfReachesOnlyTheObjectAndAnySenderSlotsRunFirst) {
    std::vector<std::string> order;
    auto slot = [&order](const std::string& label) {
        return [&order, label](Signal::Base&, GuiObject*) { order.push_back(label); };
    };
    b.ConnectSlot(Signal::Activate::Id(), &b, slot("own sender"));
    b.ConnectSlot(Signal::Activate::Id(), nullptr, slot("any sender"));
    b.ConnectSlot(Signal::Activate::Id(), &a, slot("other sender"));
    Log(*panel, Signal::Activate::Id(), log, "panel");
    b.SetVisible(false);

    Signal::Activate activate;
    b.SendSignalToSelf(activate);
    EXPECT_EQ(order, (std::vector<std::string>{"any sender", "own sender"}));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(b.ForcedAcceptance());
}

TEST_F(RouteTest, SlotsMayRaiseSignalsWhileTheyRun) {
    int nested = 0;
    a.ConnectSlot(Signal::Activate::Id(), nullptr, [&](Signal::Base&, GuiObject*) {
        Signal::Show show;
        panel->SendSignal(show);
        // Connecting during delivery must not disturb the calls being made.
        a.ConnectSlot(Signal::Activate::Id(), nullptr, [](Signal::Base&, GuiObject*) {});
    });
    root->ConnectSlot(Signal::Show::Id(), nullptr, [&](Signal::Base&, GuiObject*) { ++nested; });
    Signal::Activate activate;
    a.SendSignalToSelf(activate);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(a.Connections().Count(Signal::Activate::Id()), 2u);
}

}  // namespace
