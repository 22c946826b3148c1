// Draw time of each display of the visualisation kit at 400 x 200 and at twice that, and of a
// whole sample display; and whether the spectrum and scope allocate once they have drawn.
// Goal: under 0.3 ms per display per redraw. VIS_BENCH_PNG=DIR also writes each display, at
// both sizes, as a PNG on the skin's panel colour, to look at.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "pym/gfx/CairoDrawContext.h"
#include "pym/gfx/Image.h"
#include "tuner/TuningMath.h"
#include "vis/ClockVis.h"
#include "vis/LevelVis.h"
#include "vis/OScope.h"
#include "vis/SampleVis.h"
#include "vis/ScaleMeters.h"
#include "vis/SpecAnVis.h"
#include "vis/StackVis.h"

namespace {

long allocations = 0;

}  // namespace

// Counting replacements of the global allocation functions; GCC cannot see that they match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 400;

struct Element {
    explicit Element(const std::string& xml) {
        document.Parse(xml.c_str());
        root = document.RootElement();
    }
    TiXmlDocument document;
    TiXmlElement* root = nullptr;
};

// A plucked string at 110 Hz, as the scope and the spectrum would see it.
std::vector<float> Block() {
    std::vector<float> block(512);
    for (std::size_t i = 0; i < block.size(); ++i) {
        const double t = static_cast<double>(i) / 11025.0;
        block[i] = static_cast<float>(0.3 * std::sin(2 * M_PI * 110 * t) +
                                      0.45 * std::sin(2 * M_PI * 220 * t + 0.4) +
                                      0.15 * std::sin(2 * M_PI * 330 * t));
    }
    return block;
}

std::vector<float> Spectrum() {
    std::vector<float> bins(502, 0.0f);
    for (int harmonic = 1; harmonic <= 12; ++harmonic) {
        const double centre = 110.0 * harmonic * 2048 / 11025;
        for (std::size_t k = 0; k < bins.size(); ++k) {
            const double d = (static_cast<double>(k) - centre) / 1.5;
            bins[k] += static_cast<float>(std::exp(-d * d) / harmonic);
        }
    }
    return bins;
}

// Draws the display `runs` times into a fresh picture of its size; microseconds per redraw.
double TimeDraw(VisBase& display, int width, int height, const std::string& png) {
    auto picture = Pym::Gfx::Image::Blank(width, height);
    Pym::Gfx::CairoDrawContext context(*picture);
    display.Sample();
    context.FillRect({0, 0, float(width), float(height)}, Pym::ColourValue{255, 30, 33, 41});
    display.DrawVis(context, 0, 0, width, height);
    if (!png.empty()) cairo_surface_write_to_png(picture->Surface(), png.c_str());
    const auto start = Clock::now();
    for (int run = 0; run < kRuns; ++run) {
        display.Sample();
        display.DrawVis(context, 0, 0, width, height);
    }
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kRuns;
}

}  // namespace

int main() {
    const char* folder = std::getenv("VIS_BENCH_PNG");
    std::vector<float> block = Block();
    std::vector<float> spectrum = Spectrum();
    SampleSource scopeSource = [&block]() -> const std::vector<float>& { return block; };
    SampleSource spectrumSource = [&spectrum]() -> const std::vector<float>& { return spectrum; };
    float detected = 443.0f, target = 440.0f;
    ScaleFeed cents{[&] { return detected; },
                    [&] { return target; },
                    [](float t) {
                        const TuneBounds b = CentBoundsOf(t);
                        return Scale{static_cast<float>(b.lower), static_cast<float>(b.upper)};
                    },
                    {-50, -25, 0, 25, 50},
                    [](float cents, float t) { return t * std::pow(2.0f, cents / 1200.0f); },
                    "cents"};
    LevelFeed levels{[] { return 41.0f; }, [] { return 5.0f; }, [] { return 100.0f; }};

    Element spec("<SpecAn><Image ImageFile=\"" ONDREL_SOURCE_DIR
                 "/skin/images/vis/spectrum-bar.svg\"/><Bar Color=\"255,178,122,255\"/>"
                 "<Config NumBars=\"32\"/></SpecAn>");
    Element scope("<OScope Color=\"255,138,61,255\"/>");
    struct Entry {
        const char* name;
        std::unique_ptr<VisBase> display;
    };
    std::vector<Entry> entries;
    entries.push_back({"spectrum", std::make_unique<SpecAnVis>(spec.root, spectrumSource)});
    entries.push_back({"scope", std::make_unique<OScope>(scope.root, scopeSource)});
    entries.push_back({"curtain", std::make_unique<OScopeCurtain>(scope.root, scopeSource)});
    entries.push_back({"meter", std::make_unique<Meter>(cents)});
    entries.push_back({"sliding-meter", std::make_unique<SlidingMeter>(cents)});
    entries.push_back({"fret", std::make_unique<Fret>(cents)});
    entries.push_back({"threshold", std::make_unique<ThresholdVis>(levels)});
    entries.push_back({"power-light", std::make_unique<PowerLightVis>(levels)});
    entries.push_back({"time", std::make_unique<TimeVis>(nullptr, [] { return 83.4f; })});
    entries.push_back({"dual-analog", std::make_unique<DualAnalogVis>(
                                          nullptr, [] { return 0.3f; }, [] { return 0.7f; })});
    for (Entry& entry : entries) {
        for (int scale : {1, 2}) {
            const std::string png =
                folder ? std::string(folder) + "/" + entry.name + (scale == 1 ? ".png" : "@2x.png")
                       : std::string();
            const double us = TimeDraw(*entry.display, 400 * scale, 200 * scale, png);
            std::printf("%-14s %4dx%-4d %8.1f us per redraw\n", entry.name, 400 * scale,
                        200 * scale, us);
        }
    }

    SampleVis sample(scopeSource, spectrumSource);
    TiXmlDocument document;
    document.Parse(
        "<SampleVis Color=\"255,255,138,61\"><OScope Color=\"255,255,138,61\"/>"
        "<SpecAn><Config NumBars=\"32\"/></SpecAn></SampleVis>");
    sample.Build(document.RootElement());
    double total = 0.0;
    for (int view = 0; view < sample.ViewCount(); ++view) {
        total += TimeDraw(sample, 400, 200, "");
        sample.Next();
    }
    std::printf("%-14s %4dx%-4d %8.1f us per redraw (its five views on average)\n", "sample-vis",
                400, 200, total / sample.ViewCount());

    for (int which : {0, 1}) {
        VisBase& display = *entries[static_cast<std::size_t>(which)].display;
        auto picture = Pym::Gfx::Image::Blank(400, 200);
        Pym::Gfx::CairoDrawContext context(*picture);
        display.Sample();
        display.DrawVis(context, 0, 0, 400, 200);
        const long before = allocations;
        for (int run = 0; run < 100; ++run) {
            display.Sample();
            display.DrawVis(context, 0, 0, 400, 200);
        }
        std::printf("%-14s allocations in 100 redraws after the first: %ld\n",
                    entries[static_cast<std::size_t>(which)].name, allocations - before);
    }
    return 0;
}
