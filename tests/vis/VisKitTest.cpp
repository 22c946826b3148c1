// The visualisation kit's displays: what they compute from what they are fed, where it lands in
// the rectangle they are given, and that bad numbers never reach a coordinate.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include <tinyxml.h>

#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"
#include "settings/MetronomeProfile.h"
#include "tests/vis/GeometryContext.h"
#include "tuner/TuningMath.h"
#include "vis/BarDotsVis.h"
#include "vis/BeatVis.h"
#include "vis/ClockVis.h"
#include "vis/EasedValue.h"
#include "vis/LevelVis.h"
#include "vis/OScope.h"
#include "vis/ScaleMeters.h"
#include "vis/SpecAnVis.h"
#include "vis/Vis.h"

namespace {

using Testing::GeometryContext;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// An element parsed from text, kept alive with its document.
struct Element {
    explicit Element(const std::string& xml) {
        document.Parse(xml.c_str());
        root = document.RootElement();
    }
    TiXmlDocument document;
    TiXmlElement* root = nullptr;
};

SampleSource From(const std::vector<float>& values) {
    return [&values]() -> const std::vector<float>& { return values; };
}

TEST(SpecAnVisTest, BarsRiseAtOnceFallBySixthsAndPeaksHoldTwelveRedraws) {
    Element spec("<SpecAn><Bar Color=\"255,0,0,255\"/><Config NumBars=\"4\"/></SpecAn>");
    std::vector<float> spectrum(8, 0.6f);
    SpecAnVis bars(spec.root, From(spectrum));
    ASSERT_EQ(bars.BarCount(), 4);
    GeometryContext drawn;
    for (int i = 0; i < 3; ++i) bars.Sample();  // a constant spectrum keeps still
    EXPECT_FLOAT_EQ(bars.Levels()[2], 0.6f);

    // Each bar fills from y + h - round((h - m) * level) to the bottom; the margin is 5 %.
    bars.DrawVis(drawn, 10, 20, 200, 100);
    ASSERT_EQ(drawn.rects.size(), 8u);  // a bar and a marker each
    EXPECT_FLOAT_EQ(drawn.rects[0].y, 20 + 5 + 95 - std::lround(95 * 0.6f));
    EXPECT_FLOAT_EQ(drawn.rects[0].y + drawn.rects[0].height, 120.0f);
    EXPECT_FLOAT_EQ(drawn.rects[2].x, 10 + 1 * 200 / 4 + 1);
    EXPECT_FLOAT_EQ(drawn.rects[2].width, 50 - 2);

    // A new peak holds for twelve redraws, then falls; the bar falls at once, by a sixth.
    std::fill(spectrum.begin(), spectrum.end(), 0.9f);
    bars.Sample();
    std::fill(spectrum.begin(), spectrum.end(), 0.0f);
    bars.Sample();
    EXPECT_NEAR(bars.Levels()[0], 0.9f * 5 / 6, 1e-6);
    for (int redraw = 2; redraw <= 12; ++redraw) bars.Sample();
    EXPECT_FLOAT_EQ(bars.Peaks()[0], 0.9f);
    bars.Sample();
    EXPECT_LT(bars.Peaks()[0], 0.9f);

    // Loud enough to clip: the bar reaches the margin.
    std::fill(spectrum.begin(), spectrum.end(), 5.0f);
    bars.Sample();
    drawn.Clear();
    bars.DrawVis(drawn, 0, 0, 200, 100);
    EXPECT_FLOAT_EQ(drawn.rects[0].y, 5.0f);
}

TEST(SpecAnVisTest, MoreBarsThanBinsInterpolate) {
    Element spec("<SpecAn><Config NumBars=\"9\"/></SpecAn>");
    std::vector<float> spectrum{0.0f, 1.0f};
    SpecAnVis bars(spec.root, From(spectrum));
    bars.Sample();
    // The second bin lands on bar 4; the bars between get straight-line values.
    for (int i = 0; i <= 4; ++i)
        EXPECT_NEAR(bars.Levels()[static_cast<std::size_t>(i)], 0.25f * i, 1e-6);
}

TEST(OScopeTest, FullScaleReachesOnePixelInsideAndSilenceIsTheMiddleLine) {
    Element scope("<OScope Color=\"255,138,61,255\"/>");
    std::vector<float> block(512, 0.0f);
    OScope line(scope.root, From(block));
    GeometryContext drawn;
    line.Sample();
    line.DrawVis(drawn, 0, 0, 300, 100);
    ASSERT_EQ(drawn.polyline.size(), 300u);
    for (const auto& p : drawn.polyline) EXPECT_FLOAT_EQ(p.y, 50.0f);

    EXPECT_FLOAT_EQ(OScope::PositionOf(1.0f, 0, 100), 99.0f);  // positive below the middle
    EXPECT_FLOAT_EQ(OScope::PositionOf(-1.0f, 0, 100), 1.0f);
    EXPECT_FLOAT_EQ(OScope::PositionOf(2.0f, 0, 100), 148.0f);  // beyond full scale: unclipped

    // Stretched wider than the block, the line runs straight between samples.
    std::vector<float> ramp{0.0f, 1.0f};
    OScope stretched(scope.root, From(ramp));
    stretched.Sample();
    drawn.Clear();
    stretched.DrawVis(drawn, 0, 0, 5, 102);
    ASSERT_EQ(drawn.polyline.size(), 5u);
    EXPECT_FLOAT_EQ(drawn.polyline[1].y, 1 + 50 + std::round(50 * 0.5f));
}

TEST(TuningMathTest, ScalesAroundATargetAndTheInTuneValue) {
    const TuneBounds bounds = CentBoundsOf(440.0f);
    EXPECT_NEAR(bounds.upper, 452.8934, 1e-4);
    EXPECT_NEAR(bounds.lower, 427.1066, 1e-4);
    float detected = 446.4467f, target = 440.0f;
    TuneValueFunctor<CentsPolicy> deviation(
        CentsPolicy{}, [&] { return target; }, [&] { return detected; });
    TuneSqrAbsValueFunctor<CentsPolicy> inTune(
        CentsPolicy{}, [&] { return target; }, [&] { return detected; });
    EXPECT_NEAR(deviation(), 0.5f, 1e-4);
    EXPECT_NEAR(inTune(), 0.25f, 1e-4);
    EXPECT_NEAR(deviation.Position(), 0.75f, 1e-4);
    detected = 400.0f;
    EXPECT_FLOAT_EQ(deviation(), -1.0f);
    EXPECT_FLOAT_EQ(inTune(), 0.0f);
    detected = kNaN;  // never a value between
    EXPECT_FLOAT_EQ(deviation(), -1.0f);
    target = 0.0f;
    for (float any : {0.0f, 100.0f, 1e9f}) {
        detected = any;
        EXPECT_FLOAT_EQ(deviation(), 0.0f);
    }
    HertzPolicy hertz;
    hertz.width = 20.0f;
    EXPECT_DOUBLE_EQ(hertz.BoundsOf(110.0f).lower, 100.0);
    EXPECT_DOUBLE_EQ(hertz.BoundsOf(110.0f).upper, 120.0);
}

// Columns, markers and dots where the phases put them; while stopped (phase 1) the columns are
// one pixel, the markers at the end and no dot is lit.
TEST(BeatVisTest, ColumnsMarkersAndDotsFollowThePhases) {
    Element look("<BeatVis Color=\"1,2,3,255\"/>");
    float beat = 1.0f, bar = 1.0f;
    BeatVis columns(
        look.root, [&] { return beat; }, [&] { return bar; });
    BarVis markers(
        look.root, [&] { return beat; }, [&] { return bar; });
    int beats = 4;
    BarDotsVis dots([&] { return bar; }, [&] { return beats; });
    const int x = 10, y = 20, w = 100, h = 50;
    auto draw = [&](VisBase& display) {
        GeometryContext drawn;
        display.Sample();
        display.DrawVis(drawn, x, y, w, h);
        return drawn;
    };

    GeometryContext stopped = draw(columns);
    ASSERT_EQ(stopped.rects.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_FLOAT_EQ(stopped.rects[i].x, x + (1 + 2 * i) * (w / 5));
        EXPECT_FLOAT_EQ(stopped.rects[i].y, y + h - 1);
        EXPECT_FLOAT_EQ(stopped.rects[i].height, 1.0f);
        EXPECT_EQ(stopped.colours[i].red, 1);
    }
    GeometryContext resting = draw(dots);
    ASSERT_EQ(resting.ellipses.size(), 4u);
    EXPECT_EQ(dots.Lit(), -1);
    EXPECT_LT(resting.colours[0].alpha, 255) << "the accented dot at rest is dim";
    // At the end of both halves the second markers are cut at the rectangle's edge.
    EXPECT_TRUE(draw(markers).AllInside(x, y, w, h));

    beat = 0.57f;
    bar = 0.3925f;
    GeometryContext moving = draw(columns);
    EXPECT_FLOAT_EQ(moving.rects[0].y, y + std::lround(beat * h));
    EXPECT_FLOAT_EQ(moving.rects[1].y + moving.rects[1].height, y + h);
    EXPECT_FLOAT_EQ(moving.rects[1].y, y + std::lround(bar * h));
    GeometryContext marked = draw(markers);
    ASSERT_EQ(marked.rects.size(), 5u);  // beat and bar twice, the centre line
    EXPECT_FLOAT_EQ(marked.rects[0].x, x - w / 50 + std::lround(beat * (w / 2)));
    EXPECT_FLOAT_EQ(marked.rects[0].width, w / 25);
    EXPECT_FLOAT_EQ(marked.rects[0].height, h - 2 * (h / 4));
    EXPECT_FLOAT_EQ(marked.rects[2].x, marked.rects[0].x + w / 2);
    EXPECT_FLOAT_EQ(marked.rects[1].x, x - w / 50 + std::lround(bar * (w / 2)));
    EXPECT_FLOAT_EQ(marked.rects[1].height, h - 2 * (h / 10));
    EXPECT_FLOAT_EQ(marked.rects[4].x, x + w / 2 - 1);

    // The second of four beats: its dot lit, the accented first dot at rest.
    GeometryContext second = draw(dots);
    EXPECT_EQ(dots.Lit(), 1);
    EXPECT_NE(second.colours[1].red, resting.colours[1].red);
    EXPECT_EQ(second.colours[2].red, resting.colours[2].red);
    bar = 0.0f;
    EXPECT_EQ(draw(dots).colours[0].alpha, 255);
    EXPECT_EQ(dots.Lit(), 0);
    // One beat to twelve and beyond: as many dots as beats (up to the most), inside, apart.
    for (int count : {1, 12, 1000, 0, -3}) {
        beats = count;
        GeometryContext drawn = draw(dots);
        EXPECT_EQ(dots.Dots(), std::clamp(count, 1, BarDotsVis::kMostDots));
        EXPECT_TRUE(drawn.AllInside(x, y, w, h)) << count;
        const auto first = BarDotsVis::DotRect(0, dots.Dots(), x, y, w, h);
        if (dots.Dots() > 1) {
            EXPECT_LT(first.x + first.width, BarDotsVis::DotRect(1, dots.Dots(), x, y, w, h).x);
        }
    }
}

class Blank : public VisBase {
public:
    void DrawVis(Pym::Gfx::DrawContext&, int, int, int, int) override {}
};

TEST(VisTest, ClicksStepThroughTheViewsAndTheChoiceSurvivesOnlyWhenItIsOne) {
    Platform::Profile().SetRegistryKey("Ondrel Metronome Test");
    auto make = [] {
        auto vis = std::make_unique<Vis>();
        vis->SetName("TestVis");
        for (int i = 0; i < 3; ++i) vis->AddView(std::make_unique<Blank>());
        return vis;
    };
    auto vis = make();
    for (int click = 0; click < 3; ++click) {
        Pym::Signal::MouseClick signal;
        vis->SendSignalToSelf(signal);
    }
    EXPECT_EQ(vis->CurrentIndex(), 0);
    vis->Next();
    vis->SaveView();
    EXPECT_EQ(make()->CurrentIndex(), 0);  // restored only when asked
    auto restored = make();
    restored->RestoreView();
    EXPECT_EQ(restored->CurrentIndex(), 1);
    for (const char* stored : {"7", "-3", "text"}) {
        WriteProfileString("TestVis", stored);
        auto fresh = make();
        fresh->RestoreView();
        EXPECT_EQ(fresh->CurrentIndex(), 0) << stored;
    }
    Platform::Profile().SetRegistryKey("");
}

TEST(EasedValueTest, SettlesWithinATenthOfASecondWithoutOvershootAndThenStops) {
    EasedValue value;
    value.SetTarget(0.2f);
    value.SetTarget(0.8f);
    float last = value.Shown();
    double elapsed = 0.0;
    while (value.Step(0.01)) {
        EXPECT_GE(value.Shown(), last);
        EXPECT_LE(value.Shown(), 0.8f);
        last = value.Shown();
        elapsed += 0.01;
        if (elapsed > 0.1) {
            EXPECT_NEAR(value.Shown(), 0.8f, 0.006f);
        }
    }
    EXPECT_TRUE(value.Arrived());
    EXPECT_FALSE(value.Step(0.01));  // arrived: nothing more to draw
    value.SetTarget(kNaN);
    EXPECT_FLOAT_EQ(value.Target(), 0.8f);
}

// Every display, fed the worst numbers, in the worst rectangles: nothing but finite coordinates,
// all inside the rectangle (the scope alone may draw beyond it, where its samples are).
TEST(VisKitTest, BadNumbersAndRectanglesNeverReachACoordinate) {
    std::vector<float> bad{kNaN, kInf, -kInf, 1e30f, -1e30f, 0.5f};
    Element spec("<SpecAn><Config NumBars=\"16\"/></SpecAn>");
    Element none("<SpecAn><Config NumBars=\"0\"/></SpecAn>");
    Element scope("<OScope Color=\"255,255,255,255\"/>");
    float target = 0.0f, detected = kNaN;
    ScaleFeed feed{[&] { return detected; },
                   [&] { return target; },
                   [](float t) {
                       const TuneBounds b = CentBoundsOf(t);
                       return Scale{static_cast<float>(b.lower), static_cast<float>(b.upper)};
                   },
                   {-50, -25, 0, 25, 50},
                   [](float cents, float t) { return t * std::pow(2.0f, cents / 1200.0f); },
                   "cents"};
    float level = kNaN;
    LevelFeed levels{[&] { return level; }, [] { return 5.0f; }, [] { return 100.0f; }};
    std::vector<std::unique_ptr<VisBase>> displays;
    displays.push_back(std::make_unique<SpecAnVis>(spec.root, From(bad)));
    displays.push_back(std::make_unique<SpecAnVis>(none.root, From(bad)));
    displays.push_back(std::make_unique<OScopeCurtain>(scope.root, From(bad)));
    displays.push_back(std::make_unique<Meter>(feed));
    displays.push_back(std::make_unique<SlidingMeter>(feed));
    displays.push_back(std::make_unique<Fret>(feed));
    displays.push_back(std::make_unique<ThresholdVis>(levels));
    displays.push_back(std::make_unique<PowerLightVis>(levels));
    displays.push_back(std::make_unique<TimeVis>(nullptr, [] { return kNaN; }));
    displays.push_back(std::make_unique<DualAnalogVis>(
        nullptr, [] { return kInf; }, [] { return kNaN; }));
    displays.push_back(std::make_unique<BeatVis>(
        nullptr, [] { return kNaN; }, [] { return -kInf; }));
    displays.push_back(std::make_unique<BarVis>(
        nullptr, [] { return kInf; }, [] { return 7.0f; }));
    displays.push_back(std::make_unique<BarDotsVis>([] { return kNaN; }, [] { return 12; }));
    displays.push_back(std::make_unique<BarDotsVis>([] { return 0.99f; }, [] { return 1; }));
    for (auto [t, d] : {std::pair{0.0f, kNaN}, {-5.0f, 440.0f}, {440.0f, kInf}, {440.0f, 1e30f}}) {
        target = t;
        detected = d;
        for (auto& display : displays) {
            display->Sample();
            for (auto [w, h] : {std::pair{0, 0}, {-20, 40}, {1, 1}, {400, 200}, {800, 3}}) {
                GeometryContext drawn;
                display->DrawVis(drawn, 7, 9, w, h);
                if (w <= 0 || h <= 0) {
                    EXPECT_TRUE(drawn.points.empty());
                } else {
                    EXPECT_TRUE(drawn.AllInside(7, 9, w, h))
                        << typeid(*display).name() << " " << w << "x" << h << " target " << t;
                }
            }
        }
    }
    OScope line(scope.root, From(bad));
    line.Sample();
    GeometryContext drawn;
    line.DrawVis(drawn, 0, 0, 300, 100);
    EXPECT_TRUE(drawn.AllFinite());
}

}  // namespace
