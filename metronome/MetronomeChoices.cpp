#include "metronome/MetronomeChoices.h"

#include <algorithm>
#include <string>

#include "settings/MetronomeProfile.h"

MetronomeChoices MetronomeChoices::Read() {
    MetronomeChoices saved;
    // A hand-edited -5 would sound a ten-second click once a minute, 2147483647 none at all.
    saved.bpm = std::clamp(ReadProfileInt("Bpm", kDefaultBpm), kSlowestBpm, kFastestBpm);
    saved.accent = ReadProfileString("Accent", kDefaultAccent);
    saved.output = ReadProfileString("Output", "");
    saved.subdivision = ReadProfileString("Subdivision", "");
    return saved;
}

void MetronomeChoices::Write() const {
    WriteProfileStrings({{"Bpm", std::to_string(bpm)},
                         {"Output", output},
                         {"Accent", accent},
                         {"Subdivision", subdivision}});
}
