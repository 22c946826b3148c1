#include <gtest/gtest.h>

#include "pym/gui/ToolTipHook.h"
#include "tests/pym/gui/FrameworkDoubles.h"

using namespace Pym;
using Testing::Log;
using Testing::MakeGrid;
using Testing::Probe;
using Testing::RecordingDrawContext;

namespace {

TEST(GuiObjectTest, IdsCountUpAndStateStartsAsDocumented) {
    Probe first("first"), second("second");
    EXPECT_EQ(second.GetId(), first.GetId() + 1);
    EXPECT_FLOAT_EQ(first.GetAlpha(), 1.0f);
    EXPECT_TRUE(first.IsVisible());
    EXPECT_FALSE(first.IsSelected());
    EXPECT_EQ(GridLayout().GetNotSelectable(), 1);
    first.SetSizeLocked(1);
    EXPECT_FALSE(first.Resize(5, 5));
    first.SetSizeUnchecked(5, 6);
    EXPECT_EQ(first.GetRect(), (GuiObject::Rect{0, 0, 5, 6}));
}

TEST(GuiObjectTest, DrawsInChildOrderWithMultipliedAlpha) {
    auto root = MakeGrid("root", 100, 100);
    auto half = MakeGrid("half", 50, 50);
    Probe inner("inner"), hidden("hidden"), clear("clear"), after("after");
    root->AddChildAt(half.get(), GridVal(10, 0), GridVal(20, 0), GridVal(50, 0), GridVal(50, 0));
    half->AddChildAt(&inner, GridVal(1, 0), GridVal(2, 0), GridVal(5, 0), GridVal(5, 0));
    half->SetAlpha(0.5f);
    inner.SetAlpha(0.5f);
    root->AddChild(&hidden, false);
    hidden.SetVisible(false);
    root->AddChild(&clear, false);
    clear.SetAlpha(0.0f);
    Probe underClear("underClear");
    clear.AddChild(&underClear, false);
    root->AddChild(&after, false);

    RecordingDrawContext context;
    root->Draw(context);
    ASSERT_EQ(context.drawn.size(), 2u);
    EXPECT_EQ(context.drawn[0].what, "inner");
    EXPECT_FLOAT_EQ(context.drawn[0].alpha, 0.25f);
    EXPECT_FLOAT_EQ(context.drawn[0].x, 10.0f);  // drawn in its parent's coordinates
    EXPECT_FLOAT_EQ(context.drawn[0].y, 20.0f);
    EXPECT_EQ(context.drawn[1].what, "after");
    EXPECT_FLOAT_EQ(context.drawn[1].alpha, 1.0f);
    EXPECT_FLOAT_EQ(context.alpha, 1.0f);  // restored
    EXPECT_FLOAT_EQ(context.x, 0.0f);

    // An object may draw itself over its children instead.
    Probe overlay("overlay"), under("under");
    root->AddChild(&overlay, false);
    overlay.AddChild(&under, false);
    overlay.SetDrawSelfAfterChildren(true);
    context.drawn.clear();
    overlay.Draw(context);
    ASSERT_EQ(context.drawn.size(), 2u);
    EXPECT_EQ(context.drawn[0].what, "under");
    EXPECT_EQ(context.drawn[1].what, "overlay");
}

TEST(GuiObjectTest, VisibilityIsAlwaysAnnouncedToTheObjectItself) {
    Probe object("object");
    std::vector<int> announced;
    object.ConnectSlot(Signal::ObjectVisibilityChange::Id(), nullptr,
                       [&](Signal::Base& s, GuiObject*) {
                           auto& change = static_cast<Signal::ObjectVisibilityChange&>(s);
                           EXPECT_EQ(change.object, &object);
                           announced.push_back(change.visible);
                       });
    object.SetVisible(false);
    object.SetVisible(false);
    object.SetVisible(true);
    EXPECT_EQ(announced, (std::vector<int>{0, 0, 1}));
}

// A row of three buttons and one below the middle:  (0,0) (1,0) (2,0)
//                                                          (1,1)
class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 4; ++i) {
            buttons[i] = std::make_unique<Probe>("b" + std::to_string(i));
            const int column = i < 3 ? i : 1, row = i < 3 ? 0 : 1;
            root->AddChildAt(buttons[i].get(), GridVal(column * 20.0f, 0), GridVal(row * 20.0f, 0),
                             GridVal(10, 0), GridVal(10, 0));
            Log(*buttons[i], Signal::ObjectSelected::Id(), log, "+b" + std::to_string(i));
            Log(*buttons[i], Signal::ObjectDeselected::Id(), log, "-b" + std::to_string(i));
        }
    }
    void AddStops() {
        for (int i = 0; i < 4; ++i)
            root->AddTabStop(buttons[i].get(), i < 3 ? i : 1, i < 3 ? 0 : 1);
    }
    int Selected() const {
        int found = -1;
        for (int i = 0; i < 4; ++i)
            if (buttons[i]->IsSelected()) {
                EXPECT_EQ(found, -1) << "two selected";
                found = i;
            }
        return found;
    }
    void Navigate(int direction) {
        Signal::SelectNextObject next(direction);
        root->SendSignal(next);
    }

    std::unique_ptr<GridLayout> root = MakeGrid("root", 100, 100);
    std::unique_ptr<Probe> buttons[4];
    std::vector<std::string> log;
};

TEST_F(SelectionTest, FirstTabStopIsSelectedAndSelectMovesTheSelection) {
    AddStops();
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"+b0"}));
    EXPECT_FALSE(root->IsSelected());  // containers are not selectable unless asked

    log.clear();
    buttons[2]->Select();
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(log, (std::vector<std::string>{"+b2", "-b0"}));

    buttons[3]->SetVisible(false);
    buttons[3]->Select();  // hidden objects cannot be selected
    EXPECT_FALSE(buttons[3]->IsSelected());
    buttons[2]->SetForceSelected(true);
    buttons[2]->SetVisible(false);
    EXPECT_TRUE(buttons[2]->IsSelected());
}

TEST_F(SelectionTest, KeyboardNavigationFollowsTheTabStops) {
    root->SetForceSelected(true);  // as a window is: it takes the keys for its stops
    AddStops();
    Navigate(0);  // left from column 0 stays at column 0
    EXPECT_EQ(Selected(), 0);
    Navigate(1);
    EXPECT_EQ(Selected(), 1);
    Navigate(3);
    EXPECT_EQ(Selected(), 3);
    Navigate(1);  // no stop at (2,1): the nearest in that column, (2,0)
    EXPECT_EQ(Selected(), 2);
    Navigate(1);  // (3,0) is outside the grid of stops
    EXPECT_EQ(Selected(), 2);

    // Keys reach the selected object through its container.
    Signal::KeyPress key(13);
    root->SendSignal(key);
    EXPECT_EQ(buttons[2]->keys, std::vector<int>{13});
    EXPECT_TRUE(buttons[1]->keys.empty());

    // With nothing selected, the first stop that has a neighbour that way leads.
    root->ClearSelectionRecursive();
    Navigate(3);
    EXPECT_EQ(Selected(), 3);
}

TEST_F(SelectionTest, DeactivationClearsSelectionUnlessKept) {
    Testing::RecordingScreenManager screens;
    root->SetScreenManager(&screens);
    AddStops();
    buttons[1]->SetKeepSelection(true);
    buttons[1]->Select();
    Signal::WindowActivated off(0);
    root->SendSignal(off);
    EXPECT_TRUE(buttons[1]->IsSelected());
    EXPECT_FALSE(buttons[1]->IsActive());
    EXPECT_EQ(screens.pointerClears, 5);  // root and its four buttons
    buttons[1]->SetKeepSelection(false);
    root->SendSignal(off);
    EXPECT_EQ(Selected(), -1);
}

TEST(GuiObjectTest, ClickNeedsHoverAndSendsActivateThenMouseClick) {
    Testing::RecordingScreenManager screens;
    auto root = MakeGrid("root", 100, 100);
    root->SetScreenManager(&screens);
    Probe button("button");
    root->AddChildAt(&button, GridVal(40, 0), GridVal(30, 0), GridVal(20, 0), GridVal(10, 0));
    std::vector<std::string> log;
    std::pair<int, int> clickedAt;
    Log(button, Signal::Activate::Id(), log, "activate");
    button.ConnectSlot(Signal::MouseClick::Id(), nullptr, [&](Signal::Base& s, GuiObject*) {
        auto& click = static_cast<Signal::MouseClick&>(s);
        clickedAt = {click.x, click.y};
        log.push_back("click");
    });

    Signal::LeftButtonUp early(45, 35);
    root->SendSignal(early);  // no hover yet: no click
    EXPECT_TRUE(log.empty());

    Signal::MouseMove move(45, 35);
    root->SendSignal(move);
    EXPECT_TRUE(button.IsMouseOver());
    EXPECT_EQ(button.MouseX(), 5);
    EXPECT_EQ(button.MouseY(), 5);
    const Testing::RecordingScreenManager::Area buttonArea{40, 30, 20, 10};
    EXPECT_NE(std::find(screens.invalidated.begin(), screens.invalidated.end(), buttonArea),
              screens.invalidated.end());

    Signal::LeftButtonUp up(47, 36);
    root->SendSignal(up);
    EXPECT_EQ(log, (std::vector<std::string>{"activate", "click"}));
    EXPECT_EQ(clickedAt, std::make_pair(7, 6));
    EXPECT_FALSE(button.IsMouseOver());
}

class FakeToolTip : public ToolTipWindow {
public:
    int Height() const override { return 12; }
    void ShowAt(int x, int y) override { shownAt.emplace_back(x, y); }
    void Hide() override { ++hidden; }
    std::vector<std::pair<int, int>> shownAt;
    int hidden = 0;
};

TEST(GuiObjectTest, TooltipHoverIsClaimedByTheDeepestObjectWithText) {
    auto tip = std::make_shared<FakeToolTip>();
    std::vector<std::string> madeFor;
    SetToolTipFactory([&](GuiObject& owner, const std::string& text) {
        madeFor.push_back(owner.GetName() + ":" + text);
        return tip;
    });
    TiXmlElement outerElement("Pym::GridLayout"), innerElement("Test::Probe");
    outerElement.SetAttribute("ToolTip", "outer tip");
    innerElement.SetAttribute("ToolTip", "inner tip");
    auto outer = MakeGrid("outer", 100, 100);
    outer->Build(&outerElement);
    Probe inner("inner");
    inner.Build(&innerElement);
    outer->AddChildAt(&inner, GridVal(10, 0), GridVal(50, 0), GridVal(20, 0), GridVal(20, 0));

    Signal::ShowToolTip inactive(15, 55);
    outer->SendSignal(inactive);  // the window has no focus: nothing shows
    EXPECT_EQ(inactive.claimedBy, nullptr);

    Signal::WindowActivated on(1);
    outer->SendSignal(on);
    Signal::ShowToolTip hover(15, 55);
    outer->SendSignal(hover);
    EXPECT_EQ(hover.claimedBy, &inner);
    EXPECT_EQ(madeFor, std::vector<std::string>{"inner:inner tip"});
    // At the pointer's x in the window (not in the object), above the object.
    EXPECT_EQ(tip->shownAt, (std::vector<std::pair<int, int>>{{15, 50 - 12 - 2}}));
    EXPECT_FALSE(inner.ShowToolTip(false, 0, 0));
    EXPECT_EQ(tip->hidden, 1);
    SetToolTipFactory(nullptr);
}

TEST(GuiObjectTest, ContentMeasuresAndAbsolutePositions) {
    auto root = MakeGrid("root", 300, 300);
    auto box = MakeGrid("box", 100, 100);
    Probe a("a"), b("b"), deep("deep");
    root->AddChildAt(box.get(), GridVal(20, 0), GridVal(30, 0), GridVal(100, 0), GridVal(100, 0));
    box->AddChildAt(&a, GridVal(10, 0), GridVal(5, 0), GridVal(20, 0), GridVal(20, 0));
    box->AddChildAt(&b, GridVal(40, 0), GridVal(60, 0), GridVal(30, 0), GridVal(10, 0));
    box->AddChild(&deep, false);
    deep.Move(0, 0);
    deep.Resize(0, 0);
    a.AddChild(&deep, false);  // moved: an object has one place in the tree
    EXPECT_EQ(deep.GetParent(), &a);
    EXPECT_EQ(box->Children().size(), 2u);
    deep.Move(5, 90);
    deep.Resize(200, 10);

    EXPECT_EQ(box->GetContentWidth(), 205 - 10);
    EXPECT_EQ(box->GetContentHeight(), 100 - 5);
    EXPECT_EQ(box->GetMaxChildWidth(), 30);
    EXPECT_EQ(deep.GetAbsoluteX(), 20 + 10 + 5);
    EXPECT_EQ(deep.GetAbsoluteY(), 30 + 5 + 90);
    EXPECT_TRUE(deep.HitTest(35, 125));
    EXPECT_FALSE(deep.HitTest(35, 135));
    EXPECT_TRUE(a.Overlaps(b) == false);
    EXPECT_EQ(a.GetRight(), 29);
}

}  // namespace

namespace {

class FakeWindow : public GridLayout {
public:
    FakeWindow() { SetIsWindow(true); }
    void OnObjectReady(Signal::ObjectReady&) override { ++ready; }
    int ready = 0;
};

TEST(GuiObjectTest, AWindowChildIsItsOwnCoordinateRootAndIsWiredWhenAdded) {
    auto app = MakeGrid("app", 300, 300);
    FakeWindow popup;
    popup.Move(120, 80);
    popup.Resize(50, 50);
    Probe item("item");
    popup.AddChildAt(&item, GridVal(5, 0), GridVal(6, 0), GridVal(10, 0), GridVal(10, 0));
    std::vector<std::string> log;
    Log(item, Signal::ObjectReady::Id(), log, "item ready");

    app->AddChild(&popup, true);
    EXPECT_EQ(popup.GetParent(), app.get());
    EXPECT_TRUE(app->Children().empty());  // drawn by its own host window
    EXPECT_EQ(popup.ready, 1);
    EXPECT_EQ(log, std::vector<std::string>{"item ready"});
    EXPECT_EQ(item.GetAbsoluteX(), 5);
    EXPECT_EQ(popup.GetRight(), 49);

    // Signals raised inside the window start at the window, not at the application.
    std::vector<std::string> route;
    Log(*app, Signal::Timer::Id(), route, "app");
    Log(popup, Signal::Timer::Id(), route, "popup");
    Signal::Timer timer;
    item.SendSignal(timer);
    EXPECT_EQ(route, std::vector<std::string>{"popup"});

    RecordingDrawContext context;
    popup.Draw(context);
    ASSERT_EQ(context.drawn.size(), 1u);
    EXPECT_FLOAT_EQ(context.drawn[0].x, 0.0f);
}

}  // namespace
