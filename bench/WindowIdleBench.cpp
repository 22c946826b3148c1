// CPU taken by a shown window that nobody touches, over 10 s on the real host (run it in the
// rig, or on a desktop), twice: with no object needing ticks (the loop should sleep: no ticks,
// goal under 0.3 % of one core), then with one tile of the hundred wanting them (100 ticks a
// second, routed to that tile alone). Nothing is repainted because nothing changed.
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/HostWindow.h"
#include "pym/core/DocMap.h"
#include "pym/core/ObjectFactory.h"
#include "pym/core/Signals.h"
#include "pym/gfx/DrawContext.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/Window.h"

namespace {

// A filled rectangle that counts its paints, and the ticks it takes.
class Tile : public Pym::GuiObject {
public:
    void StartTicking() {
        ticking = this;
        SubscribeTicks();
    }
    bool NeedsTicks() const override { return this == ticking; }
    void OnTimer(Pym::Signal::Timer&) override { ticks += this == ticking; }
    static inline const Tile* ticking = nullptr;
    static inline long ticks = 0;
    bool DrawSelf(Pym::Gfx::DrawContext& context) override {
        ++paints;
        return context.FillRect(
            {float(GetX()), float(GetY()), float(GetWidth()), float(GetHeight())},
            {255, 0x28, 0x2C, 0x36});
    }
    static inline long paints = 0;
};
const bool tileRegistered = Pym::RegisterType<Tile>("Bench::Tile", "");

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// 100 tiles in a 10 x 10 grid on a 720 x 480 window.
std::string Document() {
    std::string xml = "<Pym::Window XPos=\"50\" YPos=\"50\" Width=\"720\" Height=\"480\">";
    for (int i = 0; i < 100; ++i)
        xml += "<CreateObject Name=\"T" + std::to_string(i) + "\" XPos=\"" +
               std::to_string((i % 10) / 10.0) + "\" YPos=\"" + std::to_string((i / 10) / 10.0) +
               "\" Width=\"0.09\" Height=\"0.09\"><Bench::Tile/></CreateObject>";
    return xml + "</Pym::Window>";
}

}  // namespace

int main() {
    if (!getenv("DISPLAY")) {
        std::printf("window idle bench: no DISPLAY (start the rig: scripts/rig start)\n");
        return 0;
    }
    char folder[] = "/tmp/ondrel-idle-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    std::ofstream(std::string(folder) + "/Idle.xml") << Document();
    setenv("ONDREL_LIB", folder, 1);
    std::filesystem::current_path(folder);
    Pym::DllDocMapInstance().ResetSearchPath();

    Pym::XMLLoadSave loader;
    TiXmlElement* root = loader.GetRootElement("Idle.xml");
    std::unique_ptr<Pym::GuiObject> window(
        root ? Pym::CreateNamedObject("Pym::Window", "Idle", nullptr, root) : nullptr);
    auto* shown = dynamic_cast<Pym::Window*>(window.get());
    if (!shown || !shown->Host()) {
        std::printf("window idle bench: the window could not be made\n");
        return 1;
    }
    auto runFor = [](double seconds) {
        Platform::Host().RunFor(static_cast<int>(seconds * 1000.0));
    };
    runFor(1.0);  // shown and painted once

    auto phase = [&](const char* name) {
        const long paintsBefore = Tile::paints;
        Tile::ticks = 0;
        const double seconds = 10.0;
        const double cpuStart = CpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        runFor(seconds);
        const double cpu = CpuSeconds() - cpuStart;
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        std::printf(
            "  %s, %.1f s: ticks %ld (%.1f per s), tiles repainted %ld, CPU %.3f s = "
            "%.2f %% of one core\n",
            name, wall, Tile::ticks, Tile::ticks / wall, Tile::paints - paintsBefore, cpu,
            100.0 * cpu / wall);
    };
    std::printf("window idle bench: 720 x 480 window, 100 tiles\n");
    phase("nothing needs ticks (goal < 0.3 %)");
    if (auto* tile = dynamic_cast<Tile*>(Pym::FindObject(shown, "T55"))) tile->StartTicking();
    phase("one tile needs ticks");
    window.reset();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    return 0;
}
