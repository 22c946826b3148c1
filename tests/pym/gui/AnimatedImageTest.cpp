#include "pym/gui/AnimatedImage.h"

#include "pym/core/DocMap.h"
#include "tests/pym/gui/WidgetFixture.h"

using Pym::AnimatedImage;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

class AnimatedImageTest : public Testing::WidgetFixture {
protected:
    AnimatedImage* ThreeFrames(const std::string& attributes) {
        auto* animation = Build<AnimatedImage>(
            "<Pym::AnimatedImage " + attributes + ">" + Frame(Picture("red", "#ff0000")) +
            Frame(Picture("green", "#00ff00")) + Frame(Picture("blue", "#0000ff")) +
            "</Pym::AnimatedImage>");
        if (animation) {
            animation->Move(2, 3);
            animation->Resize(10, 10);
        }
        return animation;
    }
    static std::string Frame(const std::string& file) {
        return "<Image ImageFile=\"" + file + "\"/>";
    }
    // The colour the animation shows on its next draw.
    std::uint32_t Shown(AnimatedImage& animation) {
        Testing::Canvas canvas(20, 20);
        animation.Draw(canvas.context);
        return canvas.At(6, 7);
    }
    // Timer ticks every 10 ms from `from` up to and including `to`, each followed by a draw;
    // the colours shown, without repeats.
    std::vector<std::uint32_t> Run(AnimatedImage& animation, int from, int to) {
        std::vector<std::uint32_t> shown;
        for (int t = from; t <= to; t += 10) {
            Pym::Signal::Timer tick(1, t);
            animation.OnTimer(tick);
            const std::uint32_t colour = Shown(animation);
            if (shown.empty() || shown.back() != colour) shown.push_back(colour);
        }
        return shown;
    }
};

TEST_F(AnimatedImageTest, SingleShotPlaysOnceAndRestsOnItsLastFrame) {
    EXPECT_EQ(Pym::DllDocMapInstance().GetDefaultXml("Pym::AnimatedImage"),
              "$PYM/Objects/AnimatedImage/AnimatedImage.xml");
    AnimatedImage* animation = ThreeFrames("AnimationRate=\"100\" SingleShot=\"true\"");
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->FrameCount(), 3);
    EXPECT_EQ(animation->RateMs(), 100);
    EXPECT_TRUE(animation->IsSingleShot());
    EXPECT_FALSE(animation->IsStopped());

    EXPECT_EQ(Run(*animation, 0, 1000), (std::vector<std::uint32_t>{kRed, kGreen, kBlue}));
    EXPECT_TRUE(animation->IsStopped());
    EXPECT_EQ(animation->CurrentFrame(), 2);

    // Backwards from the last frame, once, resting on the first.
    Pym::Signal::Base any(0, Pym::Signal::Base::Id());
    animation->SlotAnimateBackwards(any);
    EXPECT_EQ(Run(*animation, 2000, 3000), (std::vector<std::uint32_t>{kBlue, kGreen, kRed}));
    EXPECT_EQ(animation->CurrentFrame(), 0);
}

TEST_F(AnimatedImageTest, LoopsUntilStoppedAndStopShowsTheFirstFrame) {
    AnimatedImage* animation = ThreeFrames("AnimationRate=\"50\"");
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(Run(*animation, 0, 200), (std::vector<std::uint32_t>{kRed, kGreen, kBlue, kRed}));
    EXPECT_EQ(animation->CurrentFrame(), 1);  // the step taken by the last draw

    Pym::Signal::Base any(0, Pym::Signal::Base::Id());
    Pym::Signal::Timer tick(1, 260);
    animation->OnTimer(tick);  // a step is pending
    animation->SlotStopAnimating(any);
    EXPECT_EQ(Shown(*animation), kRed);
    EXPECT_EQ(Shown(*animation), kRed);
    EXPECT_EQ(Run(*animation, 300, 600), (std::vector<std::uint32_t>{kRed}));

    animation->SlotAnimateForwards(any);
    EXPECT_EQ(Run(*animation, 1000, 1060), (std::vector<std::uint32_t>{kRed, kGreen}));
}

TEST_F(AnimatedImageTest, StartsStoppedWhenAskedAndRefusesBadSettings) {
    AnimatedImage* still = ThreeFrames("AnimationRate=\"10\" Animate=\"false\"");
    ASSERT_NE(still, nullptr);
    EXPECT_TRUE(still->IsStopped());
    EXPECT_EQ(Run(*still, 0, 500), (std::vector<std::uint32_t>{kRed}));

    EXPECT_EQ(ThreeFrames("AnimationRate=\"0\""), nullptr);
    EXPECT_EQ(ThreeFrames("AnimationRate=\"-5\""), nullptr);
    EXPECT_THROW(ThreeFrames(""), Pym::XMLLoadSaveException);
    EXPECT_EQ(Build("<Pym::AnimatedImage AnimationRate=\"100\"/>"), nullptr);

    // A frame that cannot be read is skipped.
    auto* skipping = Build<AnimatedImage>(
        "<Pym::AnimatedImage AnimationRate=\"100\">" + Frame("images/none.png") +
        Frame(Picture("green", "#00ff00")) + "</Pym::AnimatedImage>");
    ASSERT_NE(skipping, nullptr);
    EXPECT_EQ(skipping->FrameCount(), 1);
}

}  // namespace
