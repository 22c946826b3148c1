// Ondrel Metronome's entry point.
#include <cstdio>
#include <cstring>

#include "app/ExportCommand.h"
#include "app/TunerApp.h"
#include "platform/ShutdownSignals.h"
#include "settings/AppSettings.h"

namespace {

void PrintUsage() {
    std::printf(
        "Usage: ondrel-metronome [--tuner] [--help] [--version]\n"
        "       ondrel-metronome --export FILE.wav --bpm N [--accent N] [--subdivision 1|2|3|4]\n"
        "                        [--sound NAME] [--bars N]\n"
        "A skinnable practice metronome with a chromatic tuner.\n"
        "  --tuner    start on the tuner screen\n"
        "  --export   write N bars (default 8) of clicks as the metronome plays them to a WAV\n"
        "             file, without a window: accent 1-12 beats per bar (default 4),\n"
        "             subdivision 2 eighths, 3 triplets, 4 sixteenths, sound TONE (default)\n"
        "             or a sample set of the skin\n"
        "Run it from the skin folder (the folder holding XML/Metronome.xml); ONDREL_LIB names\n"
        "the folder above lib/PYM/XML, the framework's templates. Set ONDREL_TRACE to see the\n"
        "framework's diagnostics on standard error.\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (ExportCommand::Requested(argc, argv)) return ExportCommand::Run(argc, argv);
    bool tuner = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tuner") == 0) {
            tuner = true;
            continue;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Ondrel Metronome %s\n", DllAppSettingsInstance().version.c_str());
            return 0;
        }
        std::fprintf(stderr, "ondrel-metronome: unknown option %s (try --help)\n", argv[i]);
        return 2;
    }
    static CTunerApp app;
    if (tuner) app.SetStartScreen("Tuner");
    // First of the threads, so that every later one leaves SIGINT and SIGTERM to it.
    Platform::ShutdownSignals signals([](int) { app.RequestQuit(); });
    return app.InitInstance();
}
