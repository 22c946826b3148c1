#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "metronome/ClickTrackExport.h"
#include "metronome/MetronomeConfig.h"
#include "metronome/PlaybackEngine.h"
#include "settings/AppSettings.h"
#include "settings/CommandLineCommands.h"

// `ondrel-metronome --export FILE.wav --bpm N ...`: writes a click track without a window or
// a sound device. Exit status 0 when the file is written, 2 for a bad argument, 1 when the
// file cannot be written or a sample set's skin cannot be found; one line on standard error
// says what went wrong. The skin is entered only for a sample set.
namespace {

constexpr const char* kConfigDocument = "XML/Metronome/MetronomeConfig.xml";

// The skin's sample sets, read only when a sound other than the tone is asked for.
class SkinSamples : public PlaybackControls {
public:
    std::string OutputText() const override { return "TONE"; }
    int PlayState() const override { return 1; }
    void ResetRecordToggle() override {}
    bool FindSample(const std::string& name, AudioEntry& entry) const override {
        return config_ && config_->FindSample(name, entry);
    }

    // Loads the sets; false with `error` when the skin or the named set is missing.
    bool Offer(const std::string& name, std::string& error) {
        Pym::XMLLoadSave loader;
        TiXmlElement* root = loader.GetRootElement(kConfigDocument);
        if (!root) {
            error = std::string("--sound needs the skin's ") + kConfigDocument;
            return false;
        }
        try {
            config_ = std::make_unique<MetronomeConfig>(root);
        } catch (const std::exception& broken) {
            error = std::string(kConfigDocument) + " is broken: " + broken.what();
            return false;
        }
        AudioEntry entry;
        if (FindSample(name, entry) && name != "SAMPLE") return true;
        error = "no sound \"" + name + "\" in the skin; it offers TONE";
        for (const std::string& offered : config_->audioSamples.Names())
            if (offered != "TONE" && offered != "SAMPLE") error += ", " + offered;
        return false;
    }

private:
    std::unique_ptr<MetronomeConfig> config_;
};

int RunExport(int argc, char** argv, const CommandLineCommands::SkinEntry& enterSkin) {
    std::vector<std::string> arguments;
    std::optional<std::string> skin;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--export") == 0) continue;
        if (CommandLineCommands::TakeSkinOption(argc, argv, i, skin)) continue;
        arguments.emplace_back(argv[i]);
    }
    std::string error;
    std::optional<ClickTrackRequest> request = ParseClickTrackRequest(arguments, error);
    if (!request) {
        std::fprintf(stderr, "ondrel-metronome: %s (try --help)\n", error.c_str());
        return 2;
    }
    // Before the skin becomes the working folder.
    request->path = std::filesystem::absolute(request->path).string();
    SkinSamples samples;
    if (!request->sound.empty() && request->sound != "TONE") {
        if (!enterSkin(skin)) return 1;
        if (!samples.Offer(request->sound, error)) {
            std::fprintf(stderr, "ondrel-metronome: %s (try --help)\n", error.c_str());
            return 2;
        }
    }
    // The tone the metronome plays on a fresh start.
    DllAppSettingsInstance().desiredFrequency = MetronomeChoices::kDefaultToneFrequency;
    error = ExportClickTrack(*request, samples);
    if (!error.empty()) {
        std::fprintf(stderr, "ondrel-metronome: cannot write %s: %s\n", request->path.c_str(),
                     error.c_str());
        return 1;
    }
    return 0;
}

const bool registered = (CommandLineCommands::Register("--export", RunExport), true);

}  // namespace
