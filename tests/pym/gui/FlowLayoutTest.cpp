#include <gtest/gtest.h>

#include "pym/gui/FlowLayouts.h"
#include "tests/pym/gui/FrameworkDoubles.h"

using namespace Pym;
using Testing::Probe;
using Testing::Sized;

namespace {

using Rect = GuiObject::Rect;

template <class Layout>
std::unique_ptr<Layout> MakeFlow(bool horizontal, int width, int height) {
    auto layout = std::make_unique<Layout>();
    layout->SetHorizontal(horizontal);
    layout->Resize(width, height);
    return layout;
}

TEST(FlowLayoutTest, StartAlignedPutsTheFixedChildFirstAndGivesTheRestToTheOther) {
    auto vertical = MakeFlow<FlowLayoutStartAligned>(false, 60, 100);
    Sized body("body", 5, 5), bar("bar", 7, 20);
    // The fixed child is found whichever order the two were added in.
    vertical->AddFlowChildSized(&body, FlowLayout::kExpandable);
    vertical->AddFlowChild(&bar);
    vertical->Relayout();
    EXPECT_EQ(bar.GetRect(), (Rect{0, 0, 60, 20}));
    EXPECT_EQ(body.GetRect(), (Rect{0, 20, 60, 80}));

    auto horizontal = MakeFlow<FlowLayoutStartAligned>(true, 100, 30);
    Sized button("button", 25, 3), track("track", 1, 1);
    horizontal->AddFlowChild(&button);
    horizontal->AddFlowChildSized(&track, FlowLayout::kExpandable);
    horizontal->Relayout();
    EXPECT_EQ(button.GetRect(), (Rect{0, 0, 25, 30}));
    EXPECT_EQ(track.GetRect(), (Rect{25, 0, 75, 30}));
}

TEST(FlowLayoutTest, EndAlignedIsTheMirrorImage) {
    auto vertical = MakeFlow<FlowLayoutEndAligned>(false, 60, 100);
    Sized bar("bar", 7, 20), body("body", 5, 5);
    vertical->AddFlowChild(&bar);
    vertical->AddFlowChildSized(&body, FlowLayout::kExpandable);
    vertical->Relayout();
    EXPECT_EQ(bar.GetRect(), (Rect{0, 80, 60, 20}));
    EXPECT_EQ(body.GetRect(), (Rect{0, 0, 60, 80}));

    auto horizontal = MakeFlow<FlowLayoutEndAligned>(true, 100, 30);
    Sized button("button", 25, 3), track("track", 1, 1);
    horizontal->AddFlowChild(&button);
    horizontal->AddFlowChildSized(&track, FlowLayout::kExpandable);
    horizontal->Relayout();
    EXPECT_EQ(button.GetRect(), (Rect{75, 0, 25, 30}));
    EXPECT_EQ(track.GetRect(), (Rect{0, 0, 75, 30}));
}

TEST(FlowLayoutTest, AloneTheExpandableChildFillsAndAFixedOneLongerThanTheLayoutLeavesNothing) {
    auto layout = MakeFlow<FlowLayoutStartAligned>(false, 40, 50);
    Sized only("only", 1, 1);
    layout->AddFlowChildSized(&only, FlowLayout::kExpandable);
    layout->Relayout();
    EXPECT_EQ(only.GetRect(), (Rect{0, 0, 40, 50}));

    Sized tall("tall", 10, 70);
    layout->AddFlowChild(&tall);
    layout->Relayout();
    EXPECT_EQ(tall.GetRect(), (Rect{0, 0, 40, 70}));
    EXPECT_EQ(only.GetRect(), (Rect{0, 70, 40, 0}));
}

TEST(FlowLayoutTest, TheTwoPartChecksThrowTheirExceptions) {
    auto layout = MakeFlow<FlowLayoutStartAligned>(false, 40, 50);
    Sized a("a", 1, 1), b("b", 1, 1), c("c", 1, 1);
    layout->AddFlowChild(&a);
    EXPECT_NO_THROW(layout->Relayout());  // one child never throws
    layout->AddFlowChild(&b);
    try {
        layout->Relayout();
        ADD_FAILURE() << "two fixed children were accepted";
    } catch (const FlowLayout::NoExpandableElementException& e) {
        EXPECT_STREQ(e.what(), "This layout requires at least one expandable element !!");
    }
    layout->AddFlowChildSized(&a, FlowLayout::kExpandable);  // replaces the earlier value
    layout->AddFlowChildSized(&b, FlowLayout::kExpandable);
    try {
        layout->Relayout();
        ADD_FAILURE() << "two expandable children were accepted";
    } catch (const FlowLayout::NoFixedElementException& e) {
        EXPECT_STREQ(e.what(), "This layout requires at least one fixed element !!");
    }
    layout->AddFlowChild(&c);
    try {
        layout->Relayout();
        ADD_FAILURE() << "three children were accepted";
    } catch (const FlowLayout::TooManyElementsException& e) {
        EXPECT_STREQ(e.what(), "Attempting to add too many objects to layout !!");
    }
    layout->RemoveChild(&c, false);
    layout->AddFlowChild(&b);
    EXPECT_NO_THROW(layout->Relayout());
    EXPECT_EQ(b.GetRect(), (Rect{0, 0, 40, 1}));
}

TEST(FlowLayoutTest, RelaysOutOnlyForANewRectangleAndBeforeItsFirstPaint) {
    auto layout = MakeFlow<FlowLayoutStartAligned>(false, 40, 50);
    Sized bar("bar", 1, 10), body("body", 1, 1);
    layout->AddFlowChild(&bar);
    layout->AddFlowChildSized(&body, FlowLayout::kExpandable);
    Testing::RecordingDrawContext context;
    layout->Draw(context);  // the pending layout is done before drawing
    EXPECT_EQ(body.GetRect(), (Rect{0, 10, 40, 40}));

    body.Move(3, 3);
    layout->Relayout();  // same rectangle: nothing moves
    EXPECT_EQ(body.GetX(), 3);
    layout->Resize(40, 60);
    layout->Relayout();
    EXPECT_EQ(body.GetRect(), (Rect{0, 10, 40, 50}));

    body.Move(3, 3);
    layout->RemoveChild(&bar, false);  // removing forgets the rectangle
    layout->Relayout();
    EXPECT_EQ(body.GetRect(), (Rect{0, 0, 40, 60}));

    auto empty = MakeFlow<FlowLayoutStartAligned>(false, 0, 0);
    Sized idle("idle", 4, 4);
    idle.Move(2, 2);
    empty->AddFlowChildSized(&idle, FlowLayout::kExpandable);
    empty->Relayout();  // no area: children stay
    EXPECT_EQ(idle.GetRect(), (Rect{2, 2, 4, 4}));
}

TEST(FlowLayoutTest, ALayoutThatCannotBeArrangedIsTracedWhenPaintedNotThrown) {
    std::vector<std::string> traces;
    ScopedTraceHook hook([&](const std::string& text) { traces.push_back(text); });
    auto layout = MakeFlow<FlowLayoutEndAligned>(true, 40, 50);
    Sized a("a", 1, 1), b("b", 1, 1);
    layout->AddFlowChildSized(&a, FlowLayout::kExpandable);
    layout->AddFlowChildSized(&b, FlowLayout::kExpandable);
    Testing::RecordingDrawContext context;
    EXPECT_NO_THROW(layout->Draw(context));
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_NE(traces[0].find("at least one fixed element"), std::string::npos);
    layout->Draw(context);  // reported once, not at every paint
    EXPECT_EQ(traces.size(), 1u);
}

TEST(FlowLayoutTest, AbsolutePaddedKeepsFixedChildrenAndFillsTheGapsAroundThem) {
    // A scroll bar's track: a buffer, the bar at 30 pixels, another buffer.
    auto layout = MakeFlow<FlowLayoutAbsolutePadded>(true, 100, 12);
    layout->Move(200, 50);  // its own position is not part of its children's
    Sized before("before", 1, 1), bar("bar", 20, 12), after("after", 1, 8);
    layout->AddFlowChildSized(&before, FlowLayout::kExpandable);
    layout->AddFlowChildSized(&bar, 30);
    EXPECT_EQ(bar.GetRect(), (Rect{30, 0, 20, 12}));  // moved at once
    layout->AddFlowChildSized(&after, FlowLayout::kExpandable);
    layout->Relayout();
    EXPECT_EQ(before.GetRect(), (Rect{0, 0, 30, 12}));  // first: the full cross size
    EXPECT_EQ(bar.GetRect(), (Rect{30, 0, 20, 12}));
    EXPECT_EQ(after.GetRect(), (Rect{50, 0, 50, 8}));

    bar.Move(70, 0);  // the owner moves the bar; the same rectangle still arranges
    layout->Relayout();
    EXPECT_EQ(before.GetRect(), (Rect{0, 0, 70, 12}));
    EXPECT_EQ(after.GetRect(), (Rect{90, 0, 10, 8}));

    auto vertical = MakeFlow<FlowLayoutAbsolutePadded>(false, 10, 100);
    Sized rest("rest", 1, 1), knob("knob", 10, 10);
    vertical->AddFlowChildSized(&rest, FlowLayout::kExpandable);
    vertical->AddFlowChildSized(&knob, 60);
    vertical->Relayout();
    EXPECT_EQ(rest.GetRect(), (Rect{0, 0, 10, 60}));
    EXPECT_EQ(knob.GetRect(), (Rect{0, 60, 10, 10}));
}

}  // namespace
