#include <cmath>

#include "pym/gui/ProgressBar.h"
#include "pym/gui/ScrollBar.h"
#include "pym/gui/ScrollObject.h"
#include "pym/gui/TicScrollObject.h"
#include "tests/pym/gui/ScrollFixture.h"

using Pym::ScrollObject;

namespace {

using Values = std::vector<int>;
constexpr std::uint32_t kTrack = 0xFF808080u, kBar = 0xFF0000FFu;

class ScrollObjectTest : public Testing::ScrollFixture {
protected:
    // A vertical scroll object 20 x 100 at (10, 10) whose bar is a quarter of the track.
    ScrollObject* Vertical(const std::string& callbackMode = "On") {
        auto* scroll = Build<ScrollObject>(ScrollObjectXml(
            "Pym::ScrollObject", "Orientation=\"Vertical\" CallbackMode=\"" + callbackMode +
                                     "\" MinimumBarSize=\"10\" InitialBarSizePercentage=\"25\""));
        return Place(scroll, 10, 10, 20, 100);
    }
};

TEST_F(ScrollObjectTest, MoveBarStaysOnTheTrackAndReportsTheKindAndTheCutOffMove) {
    ScrollObject* scroll = Vertical();
    ASSERT_NE(scroll, nullptr);
    Listen(*scroll);
    ASSERT_EQ(scroll->Bar()->GetHeight(), 25);
    EXPECT_EQ(scroll->Bar()->GetWidth(), 20);
    EXPECT_EQ(scroll->Travel(), 75);

    EXPECT_EQ(scroll->MoveBar(30, true), 30);
    EXPECT_EQ(scroll->Bar()->GetY(), 30);
    // The track fills the space on both sides of the bar.
    EXPECT_EQ(scroll->BufferBefore()->GetRect(), (Pym::GuiObject::Rect{0, 0, 20, 30}));
    EXPECT_EQ(scroll->BufferAfter()->GetRect(), (Pym::GuiObject::Rect{0, 55, 20, 45}));

    // Past the end: held at the end, the result adds what the end cut off (130 - 75).
    EXPECT_EQ(scroll->MoveBar(100, true), 155);
    EXPECT_EQ(scroll->Bar()->GetY(), 75);
    EXPECT_FLOAT_EQ(scroll->BarPosition(), 1.0f);
    EXPECT_EQ(scroll->MoveBar(-200, true), -325);
    EXPECT_EQ(scroll->Bar()->GetY(), 0);
    EXPECT_EQ(scroll->MoveBar(5, false), 5);  // silent
    EXPECT_EQ(heard, (std::vector<Values>{{0, 0, 2, 30}, {0, 0, 4, 100}, {0, 0, 3, -200}}));

    // A horizontal one says so in its first value; a bar as long as the track is at both
    // ends at once and counts as at the end.
    auto* horizontal = Place(
        Build<ScrollObject>(ScrollObjectXml("Pym::ScrollObject",
                                            "Orientation=\"Horizontal\" CallbackMode=\"On\" "
                                            "MinimumBarSize=\"0\" InitialBarSizePercentage=\"1\"")),
        0, 200, 100, 20);
    ASSERT_NE(horizontal, nullptr);
    EXPECT_EQ(horizontal->Bar()->GetWidth(), 100);
    Listen(*horizontal);
    EXPECT_EQ(horizontal->MoveBar(10, true), 20);
    EXPECT_EQ(heard.back(), (Values{1, 0, 4, 10}));
}

TEST_F(ScrollObjectTest, BarFollowsTheVisibleShareButNeverBelowTheMinimum) {
    ScrollObject* scroll = Vertical();
    ASSERT_NE(scroll, nullptr);
    scroll->SetBarShare(0.5f);
    EXPECT_EQ(scroll->Bar()->GetHeight(), 50);
    scroll->SetBarShare(0.02f);  // 2 pixels would be too small to take hold of
    EXPECT_EQ(scroll->Bar()->GetHeight(), 10);
    scroll->SetBarShare(7.0f);
    EXPECT_EQ(scroll->Bar()->GetHeight(), 100);
    EXPECT_EQ(scroll->Travel(), 0);

    // Resizing keeps both shares.
    scroll->SetBarShare(0.25f);
    scroll->SetBarPosition(0.5f);
    EXPECT_EQ(scroll->Bar()->GetY(), 38);  // half of 75, rounded
    scroll->Resize(20, 200);
    EXPECT_EQ(scroll->Bar()->GetHeight(), 50);
    EXPECT_EQ(scroll->Bar()->GetY(), 75);
    EXPECT_EQ(scroll->BufferAfter()->GetY() + scroll->BufferAfter()->GetHeight(), 200);

    // What it looks like: track, bar, track.
    Testing::Canvas canvas(40, 220);
    scroll->Draw(canvas.context);
    EXPECT_EQ(canvas.At(20, 10 + 60), kTrack);
    EXPECT_EQ(canvas.At(20, 10 + 100), kBar);
    EXPECT_EQ(canvas.At(20, 10 + 150), kTrack);
}

TEST_F(ScrollObjectTest, RequiredAttributesMissingMakeLoadingThrow) {
    const std::string parts = ScrollParts();
    for (const std::string& attributes :
         {std::string("CallbackMode=\"On\" MinimumBarSize=\"4\""),
          std::string("Orientation=\"Vertical\" MinimumBarSize=\"4\""),
          std::string("Orientation=\"Vertical\" CallbackMode=\"On\"")}) {
        SCOPED_TRACE(attributes);
        EXPECT_THROW(Build(ScrollObjectXml("Pym::ScrollObject", attributes)),
                     Pym::XMLLoadSaveException);
    }
    // So does a scroll object without its bar.
    EXPECT_THROW(Build("<Pym::ScrollObject Orientation=\"Vertical\" CallbackMode=\"On\" "
                       "MinimumBarSize=\"4\"><Buffer>" +
                       Button(Picture("track", "#808080")) + "</Buffer></Pym::ScrollObject>"),
                 Pym::XMLLoadSaveException);
}

TEST_F(ScrollObjectTest, TheBarIsDraggedTheTrackPagesAndTheWheelSteps) {
    ScrollObject* scroll = Vertical();
    ASSERT_NE(scroll, nullptr);
    Listen(*scroll);

    // Taken hold of 5 pixels into the bar and dragged 40 down.
    Press(20, 15);
    EXPECT_TRUE(scroll->IsDragging());
    Move(20, 55);
    EXPECT_EQ(scroll->Bar()->GetY(), 40);
    // The drag goes on with the pointer off the scroll object, and ends at the track's end.
    Move(300, 300);
    EXPECT_EQ(scroll->Bar()->GetY(), 75);
    Release(300, 300);
    EXPECT_FALSE(scroll->IsDragging());
    Move(20, 15);
    EXPECT_EQ(scroll->Bar()->GetY(), 75);
    EXPECT_EQ(heard.size(), 2u);
    // Losing the window's focus ends a drag as well.
    Press(20, 90);
    EXPECT_TRUE(scroll->IsDragging());
    Send<Pym::Signal::WindowActivated>(0);
    EXPECT_FALSE(scroll->IsDragging());

    // Pressing the track above the bar pages up by the bar's visible share.
    Press(20, 20);
    Release(20, 20);
    EXPECT_EQ(scroll->Bar()->GetY(), 50);
    EXPECT_FALSE(scroll->IsDragging());
    Press(20, 105);  // below the bar: back down
    EXPECT_EQ(scroll->Bar()->GetY(), 75);
    Release(20, 105);

    // A notch towards the user steps down, away from the user up; half notches add up.
    scroll->SetStepShare(0.2f);
    Wheel(20, 50, 120);
    EXPECT_EQ(scroll->Bar()->GetY(), 60);
    Wheel(20, 50, -60);
    EXPECT_EQ(scroll->Bar()->GetY(), 60);
    Wheel(20, 50, -60);
    EXPECT_EQ(scroll->Bar()->GetY(), 75);
    Wheel(200, 200, 120);  // not over it
    EXPECT_EQ(scroll->Bar()->GetY(), 75);
    EXPECT_EQ(heard.back()[2], 4);
}

TEST_F(ScrollObjectTest, CallbacksAreOnlyForTheOnMode) {
    ScrollObject* scroll = Vertical("Off");
    ASSERT_NE(scroll, nullptr);
    EXPECT_FALSE(scroll->CallbacksOn());
    Listen(*scroll);
    Press(20, 105);
    Release(20, 105);
    EXPECT_EQ(scroll->Bar()->GetY(), 25);  // moved all the same
    EXPECT_TRUE(heard.empty());
}

TEST_F(ScrollObjectTest, TicScrollObjectRestsOnItsTics) {
    auto* tic = Place(Build<Pym::TicScrollObject>(ScrollObjectXml(
                          "Pym::TicScrollObject",
                          "Orientation=\"Vertical\" CallbackMode=\"On\" MinimumBarSize=\"0\" "
                          "InitialBarSizePercentage=\"25\" Tics=\"4\"")),
                      10, 10, 20, 100);
    ASSERT_NE(tic, nullptr);
    EXPECT_EQ(tic->Tics(), 4);
    // Travel 75 in four tics: 0, 19, 38, 56, 75.
    tic->MoveBar(10, false);
    EXPECT_EQ(tic->Bar()->GetY(), 19);
    EXPECT_EQ(tic->Tic(), 1);
    tic->MoveBar(8, false);  // nearer 19 than 38
    EXPECT_EQ(tic->Bar()->GetY(), 19);
    tic->Step(2);
    EXPECT_EQ(tic->Bar()->GetY(), 56);
    tic->Step(5);
    EXPECT_EQ(tic->Tic(), 4);
    tic->SetTic(2);
    EXPECT_EQ(tic->Bar()->GetY(), 38);
}

TEST_F(ScrollObjectTest, ProgressBarFillsItsShareAndIgnoresThePointer) {
    auto* progress = Place(Build<Pym::ProgressBar>(ScrollObjectXml(
                               "Pym::ProgressBar",
                               "Orientation=\"Horizontal\" CallbackMode=\"Off\" "
                               "MinimumBarSize=\"0\" Min=\"0\" Max=\"8\" Value=\"2\"")),
                           0, 0, 200, 16);
    ASSERT_NE(progress, nullptr);
    EXPECT_FLOAT_EQ(progress->Fraction(), 0.25f);
    EXPECT_EQ(progress->Bar()->GetX(), 0);
    EXPECT_EQ(progress->Bar()->GetWidth(), 50);
    Testing::Canvas canvas(200, 16);
    progress->Draw(canvas.context);
    EXPECT_EQ(canvas.At(45, 8), kBar);
    EXPECT_EQ(canvas.At(55, 8), kTrack);

    progress->SetValue(6);
    EXPECT_EQ(progress->Bar()->GetWidth(), 150);
    progress->SetValue(20);  // beyond the end: full, not more
    EXPECT_EQ(progress->Bar()->GetWidth(), 200);
    progress->SetFraction(-1.0f);
    EXPECT_EQ(progress->Bar()->GetWidth(), 0);
    progress->SetFraction(std::nanf(""));
    EXPECT_EQ(progress->Bar()->GetWidth(), 0);
    progress->SetRange(5, 5);  // an empty range is all or nothing
    progress->SetValue(4);
    EXPECT_EQ(progress->Bar()->GetWidth(), 0);
    progress->SetValue(5);
    EXPECT_EQ(progress->Bar()->GetWidth(), 200);

    // With tics it grows by whole segments.
    progress->SetTics(4);
    progress->SetFraction(0.6f);
    EXPECT_EQ(progress->Bar()->GetWidth(), 100);
    progress->SetFraction(0.75f);
    EXPECT_EQ(progress->Bar()->GetWidth(), 150);

    // The user cannot move it.
    Press(190, 8);
    Wheel(100, 8, -120);
    Release(190, 8);
    EXPECT_EQ(progress->Bar()->GetX(), 0);
    EXPECT_EQ(progress->Bar()->GetWidth(), 150);
}

TEST_F(ScrollObjectTest, ScrollBarArrowsStepAndTheScrollObjectFillsBetweenThem) {
    auto* bar = Build<Pym::ScrollBar>(ScrollBarXml());
    ASSERT_NE(bar, nullptr);
    // Until placed, it has its own size.
    EXPECT_EQ(bar->GetWidth(), 12);
    EXPECT_EQ(bar->GetHeight(), 160);
    Place(bar, 0, 0, 12, 160);
    ScrollObject* scroll = bar->GetScrollObject();
    EXPECT_EQ(scroll->GetRect(), (Pym::GuiObject::Rect{0, 14, 12, 132}));
    EXPECT_EQ(bar->StartPiece()->GetRect(), (Pym::GuiObject::Rect{0, 0, 12, 14}));
    EXPECT_EQ(bar->EndPiece()->GetRect(), (Pym::GuiObject::Rect{0, 146, 12, 14}));

    scroll->SetBarShare(0.5f);
    scroll->SetStepShare(0.25f);
    Listen(*scroll);
    // Travel 66, a step 17 (a quarter, rounded).
    Press(6, 150);
    Release(6, 150);
    EXPECT_EQ(scroll->Bar()->GetY(), 17);
    Press(6, 150);
    Press(6, 150);
    Press(6, 150);
    EXPECT_EQ(scroll->Bar()->GetY(), 66);
    Press(6, 5);
    EXPECT_EQ(scroll->Bar()->GetY(), 49);
    EXPECT_EQ(heard.size(), 5u);
    // The track still pages.
    Press(6, 20);
    EXPECT_EQ(scroll->Bar()->GetY(), 0);
    Release(6, 20);

    // A held arrow steps again after a pause, then steadily, until it is let go of anywhere.
    auto tick = [&](int ms) { Send<Pym::Signal::Timer>(1, ms); };
    Press(6, 150);
    EXPECT_TRUE(bar->ArrowHeld());
    tick(1000);
    tick(1000 + Pym::ScrollBar::kRepeatDelayMs - 10);
    EXPECT_EQ(scroll->Bar()->GetY(), 17);
    tick(1000 + Pym::ScrollBar::kRepeatDelayMs);
    tick(1000 + Pym::ScrollBar::kRepeatDelayMs + 10);  // too soon for the next
    EXPECT_EQ(scroll->Bar()->GetY(), 34);
    tick(1000 + Pym::ScrollBar::kRepeatDelayMs + Pym::ScrollBar::kRepeatIntervalMs);
    EXPECT_EQ(scroll->Bar()->GetY(), 51);
    Release(300, 300);
    EXPECT_FALSE(bar->ArrowHeld());
    tick(5000);
    EXPECT_EQ(scroll->Bar()->GetY(), 51);

    // A scroll bar needs its sizes.
    EXPECT_THROW(Build("<Pym::ScrollBar SmallAxisSize=\"12\" ButtonSize=\"14\" "
                       "EndThicknessInPixels=\"14\"><ScrollObject>" +
                       ScrollObjectXml("Pym::ScrollObject",
                                       "Orientation=\"Vertical\" CallbackMode=\"On\" "
                                       "MinimumBarSize=\"10\"") +
                       "</ScrollObject></Pym::ScrollBar>"),
                 Pym::XMLLoadSaveException);
}

}  // namespace
