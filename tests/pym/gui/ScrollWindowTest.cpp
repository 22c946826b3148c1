#include "pym/gui/ScrollWindow.h"
#include "tests/pym/gui/ScrollFixture.h"
#include "tests/pym/gui/Swatch.h"

using Pym::ScrollWindow;

namespace {

class ScrollWindowTest : public Testing::ScrollFixture {
protected:
    // A 120 x 100 window with a vertical bar (12 wide, 4 away): a 104 x 100 viewport.
    ScrollWindow* Window(const std::string& inside = "") {
        auto* window = Build<ScrollWindow>(
            "<Pym::ScrollWindow ScrollBars=\"Vertical\" InterBarSpacer=\"4\"><ScrollBarY "
            "SmallAxisSize=\"12\">" +
            ScrollBarXml() + "</ScrollBarY>" + inside + "</Pym::ScrollWindow>");
        return Place(window, 0, 0, 120, 100);
    }
    Testing::Swatch* Content(int height) {
        contents.push_back(std::make_unique<Testing::Swatch>());
        contents.back()->Resize(50, height);
        return contents.back().get();
    }
    Pym::ScrollObject* Scroller(ScrollWindow* window) { return window->BarY()->GetScrollObject(); }

    std::vector<std::unique_ptr<Testing::Swatch>> contents;
};

TEST_F(ScrollWindowTest, NewContentKeepsTheRelativeScrollPosition) {
    ScrollWindow* window = Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Viewport()->GetRect(), (Pym::GuiObject::Rect{0, 0, 104, 100}));
    EXPECT_EQ(window->BarY()->GetRect(), (Pym::GuiObject::Rect{108, 0, 12, 100}));

    window->SetContent(Content(400));
    EXPECT_EQ(window->GetContent()->GetWidth(), 104);  // no horizontal bar: as wide as the view
    window->ScrollTo(0, 150);
    EXPECT_EQ(window->ScrollY(), 150);
    EXPECT_FLOAT_EQ(Scroller(window)->BarShare(), 0.25f);
    EXPECT_FLOAT_EQ(Scroller(window)->BarPosition(), 0.5f);

    // Three eighths down the old content is three eighths down the new one.
    window->SetContent(Content(800));
    EXPECT_EQ(window->ScrollY(), 300);
    EXPECT_FLOAT_EQ(Scroller(window)->BarShare(), 0.125f);
    EXPECT_FLOAT_EQ(Scroller(window)->BarPosition(), 300.0f / 700.0f);
    EXPECT_EQ(Scroller(window)->Bar()->GetHeight(), 10);  // 9 would be below the minimum

    // At the end of a long content, a short one is shown to its end, not beyond it.
    window->ScrollTo(0, 10000);
    EXPECT_EQ(window->ScrollY(), 700);
    window->SetContent(Content(200));
    EXPECT_EQ(window->ScrollY(), 100);
    EXPECT_FLOAT_EQ(Scroller(window)->BarPosition(), 1.0f);

    // An empty content in between counts as one pixel, and scrolls nowhere.
    window->SetContent(Content(0));
    EXPECT_EQ(window->ScrollY(), 0);
    EXPECT_FLOAT_EQ(Scroller(window)->BarShare(), 1.0f);
    window->SetContent(Content(500));
    EXPECT_EQ(window->ScrollY(), 0);

    // A smaller view of the same content keeps the offset within reach.
    window->ScrollTo(0, 400);
    window->Resize(120, 300);
    EXPECT_EQ(window->ScrollY(), 200);
    EXPECT_FLOAT_EQ(Scroller(window)->BarShare(), 0.6f);
}

TEST_F(ScrollWindowTest, TheBarAndTheWheelScrollTheContent) {
    ScrollWindow* window = Window();
    ASSERT_NE(window, nullptr);
    window->SetContent(Content(400));
    window->SetLineSize(40);
    Pym::ScrollObject* scroller = Scroller(window);
    // The scroll object: 72 long from y 14, its bar 18 long.
    ASSERT_EQ(scroller->Bar()->GetHeight(), 18);

    // Dragging the bar to the end shows the end of the content.
    Press(114, 20);
    Move(114, 200);
    Release(114, 200);
    EXPECT_EQ(window->ScrollY(), 300);

    // The wheel over the content scrolls a line; over the bar, about one.
    window->ScrollTo(0, 0);
    Wheel(50, 50, -120);
    EXPECT_EQ(window->ScrollY(), 40);
    Wheel(50, 50, 60);
    Wheel(50, 50, 60);
    EXPECT_EQ(window->ScrollY(), 0);
    Wheel(114, 50, -120);
    EXPECT_NEAR(window->ScrollY(), 40, 6);
    const int afterOne = window->ScrollY();
    // The down arrow steps too; the up arrow back.
    Press(114, 95);
    EXPECT_GT(window->ScrollY(), afterOne);
    Press(114, 5);
    Press(114, 5);
    Press(114, 5);
    Press(114, 5);
    EXPECT_EQ(window->ScrollY(), 0);
    EXPECT_FLOAT_EQ(scroller->BarPosition(), 0.0f);

    // Pressing the track below the bar pages by a view's worth.
    Press(114, 70);
    EXPECT_NEAR(window->ScrollY(), 100, 6);
}

TEST_F(ScrollWindowTest, ContentComesFromTheSkinAndTheBarsAreRequired) {
    ScrollWindow* window = Window(
        "<CreateObject Name=\"Page\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"3-20px\">"
        "<Test::Swatch Colour=\"255,0,0,255\"/></CreateObject>");
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->GetContent(), nullptr);
    EXPECT_EQ(window->GetContent()->GetName(), "Page");
    EXPECT_EQ(window->GetContent()->GetParent(), window->Viewport());
    // Sized relative to the view: three views less 20 pixels, and again after a resize.
    EXPECT_EQ(window->GetContent()->GetHeight(), 280);
    window->Resize(120, 50);
    EXPECT_EQ(window->GetContent()->GetHeight(), 130);
    EXPECT_FLOAT_EQ(window->BarY()->GetScrollObject()->BarShare(), 50.0f / 130.0f);

    EXPECT_THROW(Build("<Pym::ScrollWindow InterBarSpacer=\"4\"/>"), Pym::XMLLoadSaveException);
    EXPECT_THROW(Build("<Pym::ScrollWindow ScrollBars=\"Both\"><ScrollBarY SmallAxisSize=\"12\">" +
                       ScrollBarXml() + "</ScrollBarY></Pym::ScrollWindow>"),
                 Pym::XMLLoadSaveException);
}

}  // namespace
