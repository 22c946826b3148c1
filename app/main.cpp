// Ondrel Metronome's entry point.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "app/HeapUse.h"
#include "app/SkinLocator.h"
#include "app/TunerApp.h"
#include "platform/CacheFolder.h"
#include "platform/ComposeCache.h"
#include "platform/ShutdownSignals.h"
#include "pym/core/DocMap.h"
#include "pym/gfx/RenderCache.h"
#include "settings/AppSettings.h"
#include "settings/CommandLineCommands.h"

namespace {

void PrintUsage() {
    std::printf(
        "Usage: ondrel-metronome [--skin DIR] [--tuner] [--help] [--version]\n"
        "       ondrel-metronome [--skin DIR] --export FILE.wav --bpm N [--accent N]\n"
        "                        [--subdivision 1|2|3|4] [--sound NAME] [--bars N]\n"
        "A skinnable practice metronome with a chromatic tuner.\n"
        "  --skin DIR  run on the skin in DIR (the folder holding XML/Metronome.xml)\n"
        "  --tuner     start on the tuner screen\n"
        "  --export    write N bars (default 8) of clicks as the metronome plays them to a WAV\n"
        "              file, without a window or a sound device: accent 1-12 beats a bar\n"
        "              (default 4), subdivision 2 eighths, 3 triplets, 4 sixteenths, sound\n"
        "              TONE (default) or a sample set of the skin\n"
        "  --help      show this text\n"
        "  --version   show the version\n"
        "Without --skin the skin is the one in ONDREL_SKIN, else the one installed beside the\n"
        "program (../share/ondrel-metronome from its folder), else, for a program in its build\n"
        "tree, the source tree's skin/. The program runs in the skin's folder. ONDREL_LIB names\n"
        "the folder above lib/PYM/XML, the framework's templates (by default the skin's).\n"
        "Set ONDREL_TRACE to see the framework's diagnostics on standard error.\n");
}

// The skin's folder becomes the program's working folder, where its documents are found.
bool EnterSkin(const std::optional<std::string>& option) {
    const char* variable = std::getenv("ONDREL_SKIN");
    SkinLocator locator(option, variable ? variable : "", SkinLocator::BuildDefaults());
    const std::optional<std::filesystem::path> skin = locator.Locate();
    if (!skin) {
        std::fprintf(stderr, "ondrel-metronome: %s\n", locator.Failure().c_str());
        return false;
    }
    if (chdir(skin->c_str()) != 0) {
        std::fprintf(stderr, "ondrel-metronome: cannot enter the skin %s: %s\n", skin->c_str(),
                     std::strerror(errno));
        return false;
    }
    setenv("ONDREL_LIB", skin->c_str(), 0);
    // The framework's registrations made the document map before main, in the old folder.
    Pym::DllDocMapInstance().ResetSearchPath();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    HeapUse::Configure();
    // A command a linked part offers (--export) runs instead of the window.
    if (const auto* command = CommandLineCommands::Find(argc, argv))
        return (*command)(argc, argv, EnterSkin);
    bool tuner = false;
    std::optional<std::string> skin;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tuner") == 0) {
            tuner = true;
            continue;
        }
        if (CommandLineCommands::TakeSkinOption(argc, argv, i, skin)) continue;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Ondrel Metronome %s\n", DllAppSettingsInstance().version.c_str());
            return 0;
        }
        if (std::strcmp(argv[i], "--skin") == 0) {
            std::fprintf(stderr, "ondrel-metronome: --skin needs a folder (try --help)\n");
            return 2;
        }
        std::fprintf(stderr, "ondrel-metronome: unknown option %s (try --help)\n", argv[i]);
        return 2;
    }
    if (!EnterSkin(skin)) return 1;
    Platform::ComposeCache::UseProgramFolder("ondrel-metronome");
    Pym::Gfx::RenderCache::SetFolder(Platform::CacheFolder("ondrel-metronome", "pictures"));
    static CTunerApp app;
    if (tuner) app.SetStartScreen("Tuner");
    // First of the threads, so that every later one leaves the termination signals to it.
    Platform::ShutdownSignals signals([](int) { app.RequestQuit(); });
    return app.InitInstance();
}
