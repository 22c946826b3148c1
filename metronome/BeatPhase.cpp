#include "metronome/BeatPhase.h"

#include <algorithm>

#include "audio/AudioSystem.h"
#include "metronome/ClickSynthesis.h"
#include "settings/AppSettings.h"

double BeatSeconds(int bpm) {
    return BeatSampleCount(kBarSampleRate, bpm) / static_cast<double>(kBarSampleRate);
}

int BeatsPerBar() {
    return std::max(DllAppSettingsInstance().accent, 1);
}

namespace {

// Where the sound heard is, counted from the start of the loop it belongs to (the speed
// trainer's tempo steps switch loops at bar lines), and the beat of that loop.
struct HeardBeat {
    double position = 0.0;
    double beat = 0.0;
};

HeardBeat Read() {
    AudioSystem& audio = DllAudioSystemInstance();
    const double heard = audio.SoundingTime();
    if (heard == 0.0) return {0.0, BeatSeconds(DllAppSettingsInstance().desiredBpm)};
    const LoopSpan loop = audio.Output().LoopAt(heard * kBarSampleRate);
    const int bpm = loop.tag > 0 ? loop.tag : DllAppSettingsInstance().desiredBpm;
    // A loop's own start is a bar line; the first loop starts at 0, which OutputPhase reads as
    // "nothing heard": a position just past it is the same phase.
    const double position = heard - static_cast<double>(loop.startFrame) / kBarSampleRate;
    return {position > 0.0 ? position : 1e-12, BeatSeconds(bpm)};
}

// The reading a HeardMoment holds (GUI thread only).
bool holding = false, held = false;
HeardBeat heldBeat;

HeardBeat Heard() {
    if (!holding) return Read();
    if (!held) {
        heldBeat = Read();
        held = true;
    }
    return heldBeat;
}

}  // namespace

HeardMoment::HeardMoment() {
    holding = true;
    held = false;
}

HeardMoment::~HeardMoment() {
    holding = held = false;
}

float BeatPhase() {
    const HeardBeat heard = Heard();
    return DllAudioSystemInstance().OutputPhase(heard.position, heard.beat);
}

float BarPhase() {
    const HeardBeat heard = Heard();
    // One beat on, so the bar starts at its accented click.
    return DllAudioSystemInstance().OutputPhase(
        heard.position == 0.0 ? 0.0 : heard.position + heard.beat, heard.beat * BeatsPerBar());
}
