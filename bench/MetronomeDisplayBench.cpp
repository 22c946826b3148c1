// What the metronome screen's beat displays cost while the metronome plays, on the real host
// and sound device (run it in the rig, or on a desktop): the process's CPU with the displays
// shown minus the same with them hidden, in alternating halves of one run so that the machine's
// other load falls on both alike. Goal: under 0.2 % of one core.
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/SoundDeviceCheck.h"
#include "platform/HostWindow.h"
#include "platform/ProfileStore.h"
#include "pym/core/CoreSingletons.h"
#include "pym/core/DocMap.h"
#include "pym/gui/AppWindow.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/ObjectLookup.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/ToggleButton.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 6;
constexpr double kHalf = 4.0;  // seconds

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void RunFor(double seconds) {
    Platform::Host().RunFor(static_cast<int>(seconds * 1000.0));
}

struct Share {
    double process = 0.0;  // % of one core
    double gui = 0.0;      // the GUI thread's part, where the displays are drawn
};

Share Measure(double seconds) {
    const double process = CpuSeconds(RUSAGE_SELF), gui = CpuSeconds(RUSAGE_THREAD);
    const auto wall = std::chrono::steady_clock::now();
    RunFor(seconds);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    return {100.0 * (CpuSeconds(RUSAGE_SELF) - process) / elapsed,
            100.0 * (CpuSeconds(RUSAGE_THREAD) - gui) / elapsed};
}

}  // namespace

int main() {
    if (!getenv("DISPLAY") || !HasSoundDevice(0)) {
        std::printf("metronome display bench: needs a display and a sound device (scripts/rig)\n");
        return 0;
    }
    char profile[] = "/tmp/ondrel-display-bench-XXXXXX";
    if (!mkdtemp(profile)) return 1;
    setenv("XDG_CONFIG_HOME", profile, 1);
    const fs::path skin = fs::path(ONDREL_SOURCE_DIR) / "skin";
    setenv("ONDREL_LIB", skin.c_str(), 1);
    fs::current_path(skin);
    Pym::DllPymInitInstance();
    Pym::DllDocMapInstance().ResetSearchPath();
    Platform::Profile().SetRegistryKey("Ondrel Metronome");

    Pym::XMLLoadSave loader;
    TiXmlElement* root = loader.GetRootElement("XML/Metronome.xml");
    TiXmlElement* element = root ? loader.GetChildElement(root, "MetronomeApp") : nullptr;
    auto window = element ? Pym::CreateNamedObjectAs<Pym::AppWindow>(
                                "Pym::AppWindow", "MetronomeApp", nullptr, element)
                          : nullptr;
    if (!window || !window->Host()) {
        std::printf("metronome display bench: the main window could not be made\n");
        return 1;
    }
    window->SetVisible(true);
    window->ConnectAndAnnounceReady(window.get());
    RunFor(1.0);
    Pym::GuiObject* layout = Pym::FindObject(window->Host()->Screens().Shown(), "MetronomeLayout");
    auto* play = dynamic_cast<Pym::ToggleButton*>(Pym::FindObject(layout, "Play"));
    std::vector<Pym::GuiObject*> displays;
    for (const char* name : {"MetronomeVis", "MetronomeSampleVis", "BeatLightVis", "BarDots"})
        if (Pym::GuiObject* display = Pym::FindObject(layout, name)) displays.push_back(display);
    if (!play || displays.empty()) {
        std::printf("metronome display bench: the skin has no Play button or no displays\n");
        return 1;
    }
    Pym::Signal::Activate press;
    play->SendSignalToSelf(press);
    RunFor(1.0);  // past the stream's start-up

    Share shown, hidden;
    std::vector<double> differences;
    for (int round = 0; round < kRounds; ++round) {
        for (Pym::GuiObject* display : displays) display->SetVisible(true);
        const Share with = Measure(kHalf);
        for (Pym::GuiObject* display : displays) display->SetVisible(false);
        const Share without = Measure(kHalf);
        shown.process += with.process / kRounds;
        shown.gui += with.gui / kRounds;
        hidden.process += without.process / kRounds;
        hidden.gui += without.gui / kRounds;
        differences.push_back(with.process - without.process);
    }
    std::sort(differences.begin(), differences.end());
    play->SendSignalToSelf(press);
    RunFor(0.2);
    window.reset();
    fs::current_path("/");
    fs::remove_all(profile);

    std::printf("metronome display bench: playing 114 BPM, %d x %.0f s shown and hidden\n", kRounds,
                kHalf);
    std::printf("  displays shown:  %.2f %% of one core (GUI thread %.2f %%)\n", shown.process,
                shown.gui);
    std::printf("  displays hidden: %.2f %% of one core (GUI thread %.2f %%)\n", hidden.process,
                hidden.gui);
    const double cost = shown.process - hidden.process;
    std::printf(
        "  the displays:    %.2f %% of one core (GUI thread %.2f %%; rounds %.2f to %.2f)\n", cost,
        shown.gui - hidden.gui, differences.front(), differences.back());
    std::printf("  goal < 0.2 %% of one core: %s\n", cost < 0.2 ? "met" : "missed");
    return 0;
}
