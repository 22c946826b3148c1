// Time per signal routed through a tree of 500 objects: a broadcast Timer (every object takes
// part) and a directed mouse move (only the objects under the point).
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "pym/core/Signals.h"
#include "pym/gui/GridLayout.h"
#include "pym/gui/ScreenManager.h"

namespace {

class CountingScreenManager : public Pym::ScreenManager {
public:
    void Invalidate(int, int, int, int) override { ++invalidations; }
    void ActivateScreen(const std::string&, bool) override {}
    void ClearPointerRecords() override {}
    long invalidations = 0;
};

// A root, 19 panels in a row with 25 objects each in a 5 x 5 grid, and 5 more objects on
// the root: 500 objects.
struct Tree {
    Tree() {
        root.SetScreenManager(&screens);
        root.Resize(1900, 500);
        for (int p = 0; p < 19; ++p) {
            auto panel = std::make_unique<Pym::GridLayout>();
            root.AddChildAtFractions(panel.get(), p / 19.0f, 0.0f, 1 / 19.0f, 1.0f);
            for (int i = 0; i < 25; ++i) {
                auto leaf = std::make_unique<Pym::GuiObject>();
                panel->AddChildAtFractions(leaf.get(), (i % 5) / 5.0f, (i / 5) / 5.0f, 0.2f, 0.2f);
                panel->Adopt(std::move(leaf));
            }
            root.Adopt(std::move(panel));
        }
        for (int i = 0; i < 5; ++i) {
            auto extra = std::make_unique<Pym::GuiObject>();
            root.AddChildAtFractions(extra.get(), 0.0f, 0.0f, 0.01f, 0.01f);
            root.Adopt(std::move(extra));
        }
        // A few objects listen to the timer, as animated widgets do.
        for (int p = 0; p < 10; ++p)
            root.Children()[p]->ConnectSlot(
                Pym::Signal::Timer::Id(), nullptr,
                [this](Pym::Signal::Base&, Pym::GuiObject*) { ++timerSlots; });
    }
    int Count(const Pym::GuiObject& object) const {
        int count = 1;
        for (const Pym::GuiObject* child : object.Children()) count += Count(*child);
        return count;
    }

    CountingScreenManager screens;
    Pym::GridLayout root;
    long timerSlots = 0;
};

template <class Make>
double MicrosecondsPerSignal(Tree& tree, int rounds, Make make) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        auto signal = make(i);
        tree.root.SendSignal(signal);
    }
    const std::chrono::duration<double, std::micro> elapsed = Clock::now() - start;
    return elapsed.count() / rounds;
}

}  // namespace

int main() {
    Tree tree;
    const int rounds = 20000;
    std::printf("objects in tree: %d\n", tree.Count(tree.root));

    MicrosecondsPerSignal(tree, 1000, [](int i) { return Pym::Signal::Timer(1, i); });  // warm-up
    const double broadcast =
        MicrosecondsPerSignal(tree, rounds, [](int i) { return Pym::Signal::Timer(1, i * 10); });
    std::printf("broadcast Timer:       %.2f us per signal (goal < 20 us)\n", broadcast);

    const double directed = MicrosecondsPerSignal(
        tree, rounds, [](int i) { return Pym::Signal::MouseMove(150 + i % 40, 250 + i % 30); });
    std::printf("directed MouseMove:    %.2f us per signal\n", directed);

    const double directedKey =
        MicrosecondsPerSignal(tree, rounds, [](int) { return Pym::Signal::KeyPress(65); });
    std::printf("directed KeyPress:     %.2f us per signal (nothing selected)\n", directedKey);
    std::printf("(timer slots called: %ld, repaint requests: %ld)\n", tree.timerSlots,
                tree.screens.invalidations);
    return 0;
}
