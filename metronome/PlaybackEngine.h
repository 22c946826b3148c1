#pragma once

#include <optional>
#include <string>

#include "audio/CallbackPool.h"
#include "metronome/AudioSamples.h"
#include "metronome/ClickSynthesis.h"
#include "metronome/SpeedTrainer.h"

class AudioSystem;
class RecordBuffer;

// What the playback engine needs from the metronome screen: the "OUTPUT" menu button's text,
// the "Play" and "Record" toggles, and the skin's sample sets.
class PlaybackControls {
public:
    virtual ~PlaybackControls() = default;
    virtual std::string OutputText() const = 0;
    virtual int PlayState() const = 0;
    // Puts the "Record" toggle back to state 0 (it remembers its previous state and redraws).
    virtual void ResetRecordToggle() = 0;
    virtual bool FindSample(const std::string& name, AudioEntry& entry) const = 0;
};

// Controls for playing without a screen (tools and benchmarks): always playing the tone.
class TonePlaybackControls : public PlaybackControls {
public:
    std::string OutputText() const override { return "TONE"; }
    int PlayState() const override { return 1; }
    void ResetRecordToggle() override {}
    bool FindSample(const std::string&, AudioEntry&) const override { return false; }
};

// The bar the metronome plays for a sound name ("" or unknown: the tone at the desired
// frequency, its accent an octave up and the clicks between the beats a fifth up; a sample
// set: its two files, its normal click also between the beats, quieter).
BarPattern PatternFor(const PlaybackControls& controls, const std::string& sound, int bpm,
                      int beatsPerBar, int subdivision);

// Turns the metronome's settings into sound and records the user's own. GUI thread only; the
// callbacks below run on the audio threads.
class PlaybackEngine {
public:
    explicit PlaybackEngine(PlaybackControls& controls);

    // Starts or stops whatever the "OUTPUT" button names; never throws.
    void StartPlayback(bool on);
    // Renders one bar and loops it, or stops the output.
    void PlayBar(bool on, const std::string& sound, int bpm, int beatsPerBar,
                 int subdivision = kMinSubdivision);
    // Loops the recorded blocks, or stops the output.
    void PlayRecording(bool on);
    // Starts a fresh recording, or stops the input (the recording stays).
    void Record(bool on);
    // Plays the trainer's bars: the first at its start tempo; each change of tempo is
    // rendered ahead and handed to the device, which switches at the bar line.
    void PlayTrainer(const SpeedTrainer& trainer, const std::string& sound, int beatsPerBar,
                     int subdivision = kMinSubdivision);
    // For the screen's timer while the trainer plays: hands over the next change once the
    // last one has been taken. Returns the tempo of the bar now playing, 0 without a trainer.
    int KeepTrainerAhead();
    // With a plan, Play starts the speed trainer rather than the settings' tempo.
    void SetTrainerPlan(std::optional<SpeedTrainerPlan> plan) { trainerPlan_ = plan; }
    const std::optional<SpeedTrainerPlan>& TrainerPlan() const { return trainerPlan_; }
    // The tempo of the trainer's bar being heard; 0 unless the trainer plays.
    int SoundingBpm();
    bool IsPlaying() const;
    bool IsRecording() const { return recording_; }
    void RestartIfPlaying();
    // For the screen's timer: once the recording has reached its length limit, stops the
    // input and puts the Record toggle off. True when it did.
    bool CheckRecordingLimit();

private:
    PlaybackControls& controls_;
    bool recording_ = false;
    // The trainer playing, with what its bars are made of and the bar of its last change.
    std::optional<SpeedTrainerPlan> trainerPlan_;
    std::optional<SpeedTrainer> trainer_;
    std::string trainerSound_;
    int trainerBeats_ = 1;
    int trainerSubdivision_ = kMinSubdivision;
    unsigned long long queuedChange_ = 0;
};

// Stream callbacks (the bar's is BarCallback, beside the BarBuffer). User data: the
// RecordBuffer.
int RecordingLoopCallback(void* input, void* output, unsigned long frames, double outTime,
                          void* userData) noexcept;
// The recording input's callback: appends each buffer to `record` and passes it on to the
// input displays of `audio`, which owns the stream.
StreamCallback RecordingInput(RecordBuffer& record, AudioSystem& audio);
