// Ondrel Metronome's entry point.
#include <cstdio>
#include <cstring>

#include "app/TunerApp.h"
#include "platform/ShutdownSignals.h"
#include "settings/AppSettings.h"

namespace {

void PrintUsage() {
    std::printf(
        "Usage: ondrel-metronome [--tuner] [--help] [--version]\n"
        "A skinnable practice metronome with a chromatic tuner.\n"
        "  --tuner    start on the tuner screen\n"
        "Run it from the skin folder (the folder holding XML/Metronome.xml); ONDREL_LIB names\n"
        "the folder above lib/PYM/XML, the framework's templates. Set ONDREL_TRACE to see the\n"
        "framework's diagnostics on standard error.\n");
}

}  // namespace

int main(int argc, char** argv) {
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
    // First of the threads, so that every later one leaves the termination signals to it.
    Platform::ShutdownSignals signals([](int) { app.RequestQuit(); });
    return app.InitInstance();
}
