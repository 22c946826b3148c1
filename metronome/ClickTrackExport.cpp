#include "metronome/ClickTrackExport.h"

#include <charconv>

#include "audio/AudioFileWriter.h"
#include "metronome/ClickSynthesis.h"
#include "metronome/PlaybackEngine.h"

namespace {

// Longer tracks are refused rather than rendered into gigabytes.
constexpr double kLongestTrackSeconds = 3600.0;

bool ReadWhole(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [stop, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc() && stop == end && !text.empty();
}

bool ReadInRange(const std::string& option, const std::string& text, int low, int high, int& value,
                 std::string& error) {
    if (ReadWhole(text, value) && value >= low && value <= high) return true;
    error = option + " wants a whole number from " + std::to_string(low) + " to " +
            std::to_string(high) + ", not \"" + text + "\"";
    return false;
}

}  // namespace

std::optional<ClickTrackRequest> ParseClickTrackRequest(const std::vector<std::string>& arguments,
                                                        std::string& error) {
    ClickTrackRequest request;
    bool tempoGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isOption = argument.rfind("--", 0) == 0;
        if (!isOption) {
            if (!request.path.empty()) {
                error = "one file to export to, not also \"" + argument + "\"";
                return std::nullopt;
            }
            request.path = argument;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = argument + " wants a value";
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        bool ok = true;
        if (argument == "--bpm") {
            ok = ReadInRange(argument, value, MetronomeChoices::kSlowestBpm,
                             MetronomeChoices::kFastestBpm, request.bpm, error);
            tempoGiven = true;
        } else if (argument == "--accent") {
            ok = ReadInRange(argument, value, 1, 12, request.beats, error);
        } else if (argument == "--subdivision") {
            ok = ReadInRange(argument, value, kMinSubdivision, kMaxSubdivision, request.subdivision,
                             error);
        } else if (argument == "--bars") {
            ok = ReadInRange(argument, value, 1, 100000, request.bars, error);
        } else if (argument == "--sound") {
            request.sound = value;
        } else {
            error = "unknown option " + argument;
            return std::nullopt;
        }
        if (!ok) return std::nullopt;
    }
    if (request.path.empty()) {
        error = "--export wants the WAV file to write";
    } else if (!tempoGiven) {
        error = "--export wants the tempo: --bpm N";
    } else if (static_cast<double>(request.bars) * request.beats * 60.0 / request.bpm >
               kLongestTrackSeconds) {
        error = "the track would last more than an hour: fewer --bars";
    }
    if (!error.empty()) return std::nullopt;
    return request;
}

std::vector<float> RenderClickTrack(const ClickTrackRequest& request,
                                    const PlaybackControls& controls) {
    const std::string sound = request.sound == "TONE" ? std::string() : request.sound;
    const std::vector<float> bar =
        RenderBar(PatternFor(controls, sound, request.bpm, request.beats, request.subdivision));
    std::vector<float> track;
    track.reserve(bar.size() * static_cast<std::size_t>(request.bars));
    for (int i = 0; i < request.bars; ++i) track.insert(track.end(), bar.begin(), bar.end());
    return track;
}

std::string ExportClickTrack(const ClickTrackRequest& request, const PlaybackControls& controls) {
    return WriteWavFile(request.path, RenderClickTrack(request, controls), kBarSampleRate);
}
