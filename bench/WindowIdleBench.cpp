// CPU taken by a shown window that nobody touches, over 10 s on the real host (run it in the
// rig, or on a desktop): the 10 ms timer ticks through the tree, and nothing is repainted
// because nothing changed. Goal: under 1 % of one core.
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

// A filled rectangle that counts its paints.
class Tile : public Pym::GuiObject {
public:
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
    long ticks = 0;
    shown->ConnectSlot(Pym::Signal::Timer::Id(), nullptr,
                       [&ticks](Pym::Signal::Base&, Pym::GuiObject*) { ++ticks; });

    auto runFor = [](double seconds) {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        Platform::Host().RunLoop([end] { return std::chrono::steady_clock::now() < end; });
    };
    runFor(1.0);  // shown and painted once
    const long paintsBefore = Tile::paints;
    ticks = 0;

    const double seconds = 10.0;
    const double cpuStart = CpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    runFor(seconds);
    const double cpu = CpuSeconds() - cpuStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    std::printf("window idle bench: 720 x 480 window, 100 objects, %.1f s\n", wall);
    std::printf("  timer ticks delivered: %ld (%.1f per s)\n", ticks, ticks / wall);
    std::printf("  tiles repainted:       %ld\n", Tile::paints - paintsBefore);
    std::printf("  CPU: %.3f s = %.2f %% of one core (goal < 1 %%)\n", cpu, 100.0 * cpu / wall);
    window.reset();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    return 0;
}
