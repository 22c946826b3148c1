// Ondrel Metronome's entry point. The window and the screens come in with the GUI; for now
// the program proves that its skin loads: it finds the application document and its main
// window element, and ends.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "metronome/AppSettings.h"
#include "platform/ProfileStore.h"
#include "pym/core/CoreSingletons.h"
#include "pym/core/Trace.h"
#include "pym/core/XMLLoadSave.h"

namespace {

constexpr const char* kApplicationDocument = "XML/Metronome.xml";
constexpr const char* kMainWindowElement = "MetronomeApp";
constexpr const char* kRegistryKey = "Ondrel Metronome";

void PrintUsage() {
    std::printf(
        "Usage: ondrel-metronome [--help] [--version]\n"
        "A skinnable practice metronome with a chromatic tuner.\n"
        "Run it from the skin folder (the folder holding XML/Metronome.xml); ONDREL_LIB names\n"
        "the folder above lib/PYM/XML, the framework's templates. Set ONDREL_TRACE to see the\n"
        "framework's diagnostics on standard error.\n");
}

int LoadSkin() {
    Pym::DllPymInitInstance();
    Platform::Profile().SetRegistryKey(kRegistryKey);
    Pym::XMLLoadSave loader;
    TiXmlElement* root = loader.GetRootElement(kApplicationDocument);
    DllAppSettingsInstance();
    loader.GetChildElement(root, kMainWindowElement);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
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
    try {
        return LoadSkin();
    } catch (...) {
        // A broken skin must not end the program silently.
        std::string last = Pym::LastTraceText();
        std::fprintf(stderr, "ondrel-metronome: %s\n",
                     last.empty() ? "start-up failed" : last.c_str());
        return 1;
    }
}
