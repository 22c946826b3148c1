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

float BeatPhase() {
    AudioSystem& audio = DllAudioSystemInstance();
    return audio.OutputPhase(audio.SoundingTime(),
                             BeatSeconds(DllAppSettingsInstance().desiredBpm));
}

float BarPhase() {
    AudioSystem& audio = DllAudioSystemInstance();
    const double beat = BeatSeconds(DllAppSettingsInstance().desiredBpm);
    const double heard = audio.SoundingTime();
    // One beat on, so the bar starts at its accented click.
    return audio.OutputPhase(heard == 0.0 ? 0.0 : heard + beat, beat * BeatsPerBar());
}
