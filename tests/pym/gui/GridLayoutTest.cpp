#include <gtest/gtest.h>

#include "pym/core/Clock.h"
#include "pym/gui/XmlObjectHolder.h"
#include "tests/pym/gui/FrameworkDoubles.h"

using namespace Pym;
using Testing::MakeGrid;
using Testing::Probe;

namespace {

TEST(GridLayoutTest, PlacesToTheNearestPixelHalvesAwayFromZero) {
    auto grid = MakeGrid("grid", 201, 100);
    Probe child("child");
    grid->AddChildAt(&child, GridVal(0.0f, 0.5f), GridVal(-0.5f, 0.0f), GridVal("0.5"),
                     GridVal("0.5+10px"));
    EXPECT_EQ(child.GetRect(), (GuiObject::Rect{101, -1, 101, 60}));

    grid->PlaceChildTruncated(&child, GridVal(0.0f, 0.5f), GridVal(-0.5f, 0.0f), GridVal("0.5"),
                              GridVal("0.5+10px"));
    EXPECT_EQ(child.GetRect(), (GuiObject::Rect{100, 0, 100, 60}));
    // Truncated placement does not change what the layout remembers.
    EXPECT_EQ(grid->GetLayoutMap().at(&child)->xPos, GridVal(0.0f, 0.5f));

    child.SetSizeLocked(1);  // a size-locked child keeps its size
    grid->PlaceChild(&child, GridVal(), GridVal(), GridVal("1"), GridVal("1"));
    EXPECT_EQ(child.GetRect(), (GuiObject::Rect{0, 0, 100, 60}));
}

TEST(GridLayoutTest, RelayoutCascadesOnlyWhenTheRectangleChanged) {
    auto outer = MakeGrid("outer", 0, 0);
    auto inner = MakeGrid("inner", 0, 0);
    Probe leaf("leaf");
    outer->AddChildAtFractions(inner.get(), 0.0f, 0.0f, 0.5f, 0.5f);
    inner->AddChildAtFractions(&leaf, 0.5f, 0.5f, 0.5f, 0.5f);
    leaf.Move(3, 3);
    outer->Relayout();  // 0 x 0: children stay where they are
    EXPECT_EQ(leaf.GetX(), 3);

    outer->Resize(400, 200);
    outer->Relayout();
    EXPECT_EQ(inner->GetRect(), (GuiObject::Rect{0, 0, 200, 100}));
    EXPECT_EQ(leaf.GetRect(), (GuiObject::Rect{100, 50, 100, 50}));

    leaf.Move(1, 1);
    outer->Relayout();  // unchanged: the cascade stops at once
    EXPECT_EQ(leaf.GetX(), 1);
    inner->ResetCachedRect();
    inner->Relayout();
    EXPECT_EQ(leaf.GetX(), 100);
}

TEST(GridLayoutTest, RemovedAndDestroyedChildrenLeaveTheLayout) {
    auto grid = MakeGrid("grid", 100, 100);
    {
        Probe shortLived("short");
        grid->AddChildAtFractions(&shortLived, 0, 0, 1, 1);
        grid->AddTabStop(&shortLived, 0, 0);
        EXPECT_EQ(shortLived.GetParent(), grid.get());
    }
    EXPECT_TRUE(grid->Children().empty());
    EXPECT_TRUE(grid->GetLayoutMap().empty());
    EXPECT_TRUE(grid->TabStops().empty());
    grid->Resize(50, 50);
    grid->Relayout();  // would touch the dead child if it were still listed
}

class AnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetClockSource([this] { return now; });
    }
    void TearDown() override { SetClockSource(nullptr); }
    void Tick() {
        Signal::Timer timer(1, 0);
        grid->SendSignal(timer);
    }

    double now = 100.0;
    std::unique_ptr<GridLayout> grid = MakeGrid("grid", 200, 100);
    Probe child{"child"};
};

TEST_F(AnimationTest, KeyframesFireInTimeUntilTheLastOne) {
    auto animation = std::make_shared<Animation>();
    Keyframe start;
    start.alpha = 0.0f;
    Keyframe middle;
    middle.timeMs = 500;
    middle.alpha = 0.5f;
    middle.signal = "Pym::Signal::Show";
    Keyframe end;
    end.timeMs = 1000;
    end.alpha = 1.0f;
    end.x = GridVal("0.25");
    end.y = GridVal("0");
    end.width = GridVal("0.5");
    end.height = GridVal("1");
    *animation = {start, middle, end};
    int shows = 0;
    child.ConnectSlot(Signal::Show::Id(), nullptr, [&](Signal::Base&, GuiObject*) { ++shows; });
    grid->AddChildAtFractions(&child, 0.25f, 0.0f, 0.5f, 1.0f, nullptr, animation);

    grid->RestartLayoutAnimation();
    EXPECT_FLOAT_EQ(child.GetAlpha(), 0.0f);
    EXPECT_TRUE(grid->IsAnimating());
    now += 0.1;
    Tick();  // nothing due: the animation keeps running
    EXPECT_TRUE(grid->IsAnimating());
    now += 0.45;
    Tick();
    EXPECT_FLOAT_EQ(child.GetAlpha(), 0.5f);
    EXPECT_EQ(shows, 1);
    now += 0.5;
    Tick();
    EXPECT_FLOAT_EQ(child.GetAlpha(), 1.0f);
    // Fractions only: x = 0.25 + 0.25, width = 0.5 × 0.5, truncated.
    EXPECT_EQ(child.GetRect(), (GuiObject::Rect{100, 0, 50, 100}));
    EXPECT_FALSE(grid->IsAnimating());
    Tick();
    EXPECT_EQ(shows, 1);

    // A restart through the slot plays it again.
    Signal::ScreenActivation activation(1);
    grid->SlotRestartAnimation(activation);
    EXPECT_FLOAT_EQ(child.GetAlpha(), 0.0f);
    EXPECT_TRUE(grid->IsAnimating());
}

}  // namespace
