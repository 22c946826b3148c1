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
    saved.trainerOn = ReadProfileInt("TrainerOn", 0) != 0;
    const SpeedTrainerPlan fresh;
    saved.trainer.startBpm =
        std::clamp(ReadProfileInt("TrainerStart", fresh.startBpm), kSlowestBpm, kFastestBpm);
    saved.trainer.targetBpm =
        std::clamp(ReadProfileInt("TrainerTarget", fresh.targetBpm), kSlowestBpm, kFastestBpm);
    saved.trainer.stepBpm =
        std::clamp(ReadProfileInt("TrainerStep", fresh.stepBpm), 1, kFastestBpm - kSlowestBpm);
    saved.trainer.everyBars =
        std::clamp(ReadProfileInt("TrainerBars", fresh.everyBars), 1, kMostTrainerBars);
    saved.trainer.loop = ReadProfileString("TrainerAtTarget", "Stop") == "Loop";
    return saved;
}

void MetronomeChoices::Write() const {
    WriteProfileStrings({{"Bpm", std::to_string(bpm)},
                         {"Output", output},
                         {"Accent", accent},
                         {"Subdivision", subdivision},
                         {"TrainerOn", trainerOn ? "1" : "0"},
                         {"TrainerStart", std::to_string(trainer.startBpm)},
                         {"TrainerTarget", std::to_string(trainer.targetBpm)},
                         {"TrainerStep", std::to_string(trainer.stepBpm)},
                         {"TrainerBars", std::to_string(trainer.everyBars)},
                         {"TrainerAtTarget", trainer.loop ? "Loop" : "Stop"}});
}
