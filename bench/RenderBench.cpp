// Time to repaint an 800 x 600 window holding 50 pictures and 20 texts into its back buffer:
// a full redraw, and the redraw of a 100 x 30 dirty rectangle. Goals: under 5 ms and under
// 0.5 ms.
#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "pym/gfx/CairoDrawContext.h"
#include "pym/gfx/Font.h"
#include "pym/gfx/Region.h"
#include "pym/gui/GuiObject.h"
#include "pym/gui/Image.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kPictures = 50, kTexts = 20;

// Stands in for the text widget: one line of text drawn in its rectangle.
class BenchText : public Pym::GuiObject {
public:
    BenchText(std::shared_ptr<Pym::Gfx::Font> font, std::string text)
        : font_(std::move(font)), text_(std::move(text)) {}
    bool DrawSelf(Pym::Gfx::DrawContext& context) override {
        return context.DrawString(
            *font_, text_, {float(GetX()), float(GetY()), float(GetWidth()), float(GetHeight())},
            Pym::ColourValue{255, 232, 234, 240}, Pym::Gfx::TextAlignment::Near,
            Pym::Gfx::TextTrimming::None);
    }

private:
    std::shared_ptr<Pym::Gfx::Font> font_;
    std::string text_;
};

// A skin-like picture: a rounded, shaded panel with soft transparent corners.
void WritePicture(const fs::path& file, int width, int height, double hue) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    const double r = std::min(width, height) * 0.2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, width - r, r, r, -M_PI / 2, 0);
    cairo_arc(cr, width - r, height - r, r, 0, M_PI / 2);
    cairo_arc(cr, r, height - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, r, r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, 0, 0, height);
    cairo_pattern_add_color_stop_rgba(shade, 0, hue, 0.5, 1 - hue, 1);
    cairo_pattern_add_color_stop_rgba(shade, 1, hue * 0.5, 0.2, 0.4, 0.9);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    cairo_destroy(cr);
    cairo_surface_write_to_png(surface, file.c_str());
    cairo_surface_destroy(surface);
}

struct Window {
    explicit Window(const fs::path& folder) {
        root.Resize(kWidth, kHeight);
        std::vector<std::string> files;
        for (int i = 0; i < 6; ++i) {
            fs::path file = folder / ("picture" + std::to_string(i) + ".png");
            WritePicture(file, 64 + 16 * i, 48 + 8 * i, i / 6.0);
            files.push_back(file.string());
        }
        // A background over the whole window, then 49 pictures in a 7 x 7 grid.
        Add(files[0], 0, 0, kWidth, kHeight);
        for (int i = 0; i < kPictures - 1; ++i)
            Add(files[1 + i % 5], 10 + (i % 7) * 112, 10 + (i / 7) * 84, 96 + (i % 3) * 4, 64);
        auto font = std::make_shared<Pym::Gfx::Font>(
            Pym::FontDescription{"Inter", 14.0f, Pym::FontStyleRegular, Pym::FontSizePoint}, kWidth,
            kHeight);
        for (int i = 0; i < kTexts; ++i) {
            auto text =
                std::make_unique<BenchText>(font, "Tempo " + std::to_string(60 + i * 7) + " BPM");
            text->Move(20 + (i % 4) * 190, 40 + (i / 4) * 110);
            text->Resize(170, 22);
            root.AddChild(text.get(), false);
            root.Adopt(std::move(text));
        }
    }
    void Add(const std::string& file, int x, int y, int width, int height) {
        auto image = std::make_unique<Pym::Image>();
        image->Move(x, y);
        image->Resize(width, height);
        if (!image->SetImage(file, false)) std::fprintf(stderr, "cannot load %s\n", file.c_str());
        root.AddChild(image.get(), false);
        root.Adopt(std::move(image));
    }
    Pym::GuiObject root;
};

struct Stats {
    double mean, median, p95;
};

template <class F>
Stats Measure(int runs, F&& redraw) {
    for (int i = 0; i < 10; ++i) redraw();  // caches filled, code warm
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        redraw();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms) sum += v;
    return {sum / runs, ms[ms.size() / 2], ms[ms.size() * 95 / 100]};
}

void Print(const char* what, const Stats& stats, double goal) {
    std::printf("%-34s mean %7.3f ms  median %7.3f ms  p95 %7.3f ms  (goal < %.1f ms: %s)\n", what,
                stats.mean, stats.median, stats.p95, goal, stats.median < goal ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    fs::path folder =
        fs::temp_directory_path() / ("ondrel-render-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    {
        Window window(folder);
        Pym::Gfx::ImagePtr backBuffer = Pym::Gfx::Image::Blank(kWidth, kHeight);
        Pym::Gfx::CairoDrawContext context(*backBuffer);

        std::printf("%d x %d window, %d pictures, %d texts, %d runs\n", kWidth, kHeight, kPictures,
                    kTexts, runs);
        Print("full redraw",
              Measure(runs,
                      [&] {
                          context.Clear();
                          window.root.Draw(context);
                      }),
              5.0);

        if (const char* shot = std::getenv("RENDER_BENCH_PNG"))
            cairo_surface_write_to_png(backBuffer->Surface(), shot);

        Pym::Gfx::Region dirty;
        dirty.Add({350, 285, 100, 30});
        context.SetClip(dirty);
        Print("100 x 30 dirty rectangle",
              Measure(runs * 10,
                      [&] {
                          context.Clear();
                          window.root.Draw(context);
                      }),
              0.5);
        if (context.LastStatus() != CAIRO_STATUS_SUCCESS)
            std::printf("drawing failed: %s\n", cairo_status_to_string(context.LastStatus()));
    }
    std::error_code error;
    fs::remove_all(folder, error);
    return 0;
}
