#include "metronome/MetronomeChoices.h"

#include "settings/MetronomeProfile.h"

MetronomeChoices MetronomeChoices::Read() {
    MetronomeChoices saved;
    saved.bpm = ReadProfileInt("Bpm", kDefaultBpm);
    saved.accent = ReadProfileString("Accent", kDefaultAccent);
    saved.output = ReadProfileString("Output", "");
    return saved;
}

void MetronomeChoices::Write() const {
    WriteProfileInt("Bpm", bpm);
    WriteProfileString("Output", output);
    WriteProfileString("Accent", accent);
}
