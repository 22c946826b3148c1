#pragma once

#include <optional>
#include <string>
#include <vector>

#include "metronome/MetronomeChoices.h"

class PlaybackControls;

// A click track: bars exactly as the metronome plays them, written to a WAV file.
struct ClickTrackRequest {
    std::string path;
    int bpm = 0;
    int beats = MetronomeChoices::kDefaultBeats;
    int subdivision = 1;
    std::string sound;  // a sample set of the skin; empty or "TONE": the tone
    int bars = 8;
};

// The arguments that follow "--export": FILE.wav --bpm N [--accent N] [--subdivision 1|2|3|4]
// [--sound NAME] [--bars N]. Empty, with `error` saying why, when they are not usable.
std::optional<ClickTrackRequest> ParseClickTrackRequest(const std::vector<std::string>& arguments,
                                                        std::string& error);

// The samples of the track, at the bar's sample rate.
std::vector<float> RenderClickTrack(const ClickTrackRequest& request,
                                    const PlaybackControls& controls);

// Renders and writes the track; an empty string, or what went wrong.
std::string ExportClickTrack(const ClickTrackRequest& request, const PlaybackControls& controls);
