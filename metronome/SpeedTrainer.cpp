#include "metronome/SpeedTrainer.h"

#include "metronome/MetronomeChoices.h"

#include <algorithm>
#include <cstdlib>

SpeedTrainer::SpeedTrainer(const SpeedTrainerPlan& plan) : plan_(plan) {
    auto tempo = [](int bpm) {
        return std::clamp(bpm, MetronomeChoices::kSlowestBpm, MetronomeChoices::kFastestBpm);
    };
    plan_.startBpm = tempo(plan.startBpm);
    plan_.targetBpm = tempo(plan.targetBpm);
    plan_.stepBpm = std::max(plan.stepBpm, 1);
    plan_.everyBars = std::max(plan.everyBars, 1);
    const int distance = std::abs(plan_.targetBpm - plan_.startBpm);
    tempos_ = static_cast<unsigned long long>((distance + plan_.stepBpm - 1) / plan_.stepBpm) + 1;
}

int SpeedTrainer::TempoOfBar(unsigned long long bar) const {
    unsigned long long steps = bar / static_cast<unsigned long long>(plan_.everyBars);
    steps = plan_.loop ? steps % tempos_ : std::min(steps, tempos_ - 1);
    const int direction = plan_.targetBpm >= plan_.startBpm ? 1 : -1;
    const long long moved = static_cast<long long>(steps) * plan_.stepBpm;
    const long long distance = std::abs(plan_.targetBpm - plan_.startBpm);
    return plan_.startBpm + direction * static_cast<int>(std::min(moved, distance));
}

unsigned long long SpeedTrainer::NextChangeAfter(unsigned long long bar) const {
    const auto every = static_cast<unsigned long long>(plan_.everyBars);
    const unsigned long long next = (bar / every + 1) * every;
    if (tempos_ == 1) return 0;
    if (!plan_.loop && next / every >= tempos_) return 0;
    return next;
}
