#pragma once

// What the speed trainer does: from a start tempo toward a target, a step every so many bars.
struct SpeedTrainerPlan {
    int startBpm = 80;
    int targetBpm = 120;
    int stepBpm = 4;
    int everyBars = 4;
    bool loop = false;  // at the target: back to the start rather than stay there

    bool operator==(const SpeedTrainerPlan&) const = default;
};

// The tempo of every bar of a plan. Tempos stay within the metronome's range, a step and a
// bar count below one count as one, and the last step stops at the target.
class SpeedTrainer {
public:
    explicit SpeedTrainer(const SpeedTrainerPlan& plan);

    const SpeedTrainerPlan& Plan() const { return plan_; }
    int TempoOfBar(unsigned long long bar) const;
    // The first bar after `bar` whose tempo differs from the one before it; 0 when the tempo
    // never changes again.
    unsigned long long NextChangeAfter(unsigned long long bar) const;

private:
    SpeedTrainerPlan plan_;
    unsigned long long tempos_ = 1;  // distinct tempos from start to target
};
