#include "metronome/PlaybackEngine.h"

#include "audio/AudioSystem.h"
#include "audio/BarBuffer.h"
#include "metronome/ClickSynthesis.h"
#include "metronome/RecordBuffer.h"
#include "pym/base/Trace.h"
#include "settings/AppSettings.h"

namespace {
constexpr int kRecordFrames = 512;
}

int RecordingLoopCallback(void*, void* output, unsigned long frames, double,
                          void* userData) noexcept {
    if (output && userData)
        static_cast<RecordBuffer*>(userData)->PlayNextBlock(static_cast<float*>(output), frames);
    return 0;
}

StreamCallback RecordingInput(RecordBuffer& record, AudioSystem& audio) {
    return [&record, &audio](void* input, void* output, unsigned long frames, double outTime,
                             void* userData) {
        if (input) record.Append(static_cast<const float*>(input), frames);
        // The input displays keep working while recording.
        audio.ProcessInput(input, output, frames, outTime, userData);
        return 0;
    };
}

PlaybackEngine::PlaybackEngine(PlaybackControls& controls) : controls_(controls) {}

void PlaybackEngine::StartPlayback(bool on) {
    try {
        const std::string text = controls_.OutputText();
        if (text == "SAMPLE") {
            PlayRecording(on);
            return;
        }
        const AppSettings& settings = DllAppSettingsInstance();
        const std::string sound = text == "TONE" ? std::string() : text;
        if (on && trainerPlan_)
            PlayTrainer(SpeedTrainer(*trainerPlan_), sound, settings.accent, settings.subdivision);
        else
            PlayBar(on, sound, settings.desiredBpm, settings.accent, settings.subdivision);
    } catch (...) {
        // A sound that cannot be rendered simply does not start.
    }
}

BarPattern PatternFor(const PlaybackControls& controls, const std::string& sound, int bpm,
                      int beatsPerBar, int subdivision) {
    BarPattern pattern{bpm, beatsPerBar, subdivision, {}, {}, {}};
    AudioEntry entry;
    if (!sound.empty() && controls.FindSample(sound, entry)) {
        pattern.normal = SampleClick(entry.normalFile);
        pattern.accent = SampleClick(entry.accentFile);
        pattern.between = pattern.normal;
    } else {
        const float frequency = DllAppSettingsInstance().desiredFrequency;
        pattern.normal = ToneClick(frequency);
        pattern.accent = ToneClick(2.0f * frequency);
        pattern.between = ToneClick(1.5f * frequency);
    }
    return pattern;
}

void PlaybackEngine::PlayBar(bool on, const std::string& sound, int bpm, int beatsPerBar,
                             int subdivision) {
    AudioSystem& audio = DllAudioSystemInstance();
    trainer_.reset();
    if (!on) {
        audio.StopOutput();
        return;
    }
    BarBuffer& bar = DllBarBufferInstance();
    BuildBar(bar, PatternFor(controls_, sound, bpm, beatsPerBar, subdivision));
    audio.RestartOutputLooped(kBarSampleRate, static_cast<int>(bar.Size()), &BarCallback, &bar);
    bar.Release();
    // The beat displays count the beat of the loop they hear.
    audio.Output().TagLoop(bpm);
}

void PlaybackEngine::PlayTrainer(const SpeedTrainer& trainer, const std::string& sound,
                                 int beatsPerBar, int subdivision) {
    PlayBar(true, sound, trainer.TempoOfBar(0), beatsPerBar, subdivision);
    trainer_ = trainer;
    trainerSound_ = sound;
    trainerBeats_ = beatsPerBar;
    trainerSubdivision_ = subdivision;
    queuedChange_ = 0;
    KeepTrainerAhead();
}

int PlaybackEngine::KeepTrainerAhead() {
    if (!trainer_) return 0;
    WaveOut& out = DllAudioSystemInstance().Output();
    const unsigned long long playing = out.LoopWraps();
    if (!out.LoopQueued()) {
        if (const unsigned long long next =
                trainer_->NextChangeAfter(std::max(queuedChange_, playing))) {
            const int bpm = trainer_->TempoOfBar(next);
            out.QueueLoop(RenderBar(PatternFor(controls_, trainerSound_, bpm, trainerBeats_,
                                               trainerSubdivision_)),
                          next, bpm);
            queuedChange_ = next;
        }
    }
    return trainer_->TempoOfBar(playing);
}

int PlaybackEngine::SoundingBpm() {
    AudioSystem& audio = DllAudioSystemInstance();
    if (!trainer_ || !audio.IsOutputActive()) return 0;
    return audio.Output().LoopAt(audio.SoundingTime() * kBarSampleRate).tag;
}

void PlaybackEngine::PlayRecording(bool on) {
    AudioSystem& audio = DllAudioSystemInstance();
    trainer_.reset();
    if (!on) {
        audio.StopOutput();
        return;
    }
    RecordBuffer& record = DllRecordBufferInstance();
    record.Rewind();
    audio.RestartOutput(kBarSampleRate, kRecordFrames, &RecordingLoopCallback, &record);
}

void PlaybackEngine::Record(bool on) {
    AudioSystem& audio = DllAudioSystemInstance();
    if (!on) {
        audio.StopInput();
        recording_ = false;
        return;
    }
    // A recording under way stops before its storage is cleared under it.
    audio.StopInput();
    RecordBuffer& record = DllRecordBufferInstance();
    record.Clear();
    audio.RestartInput(kBarSampleRate, kRecordFrames, RecordingInput(record, audio));
    recording_ = audio.Input().LastError() == kStreamNoError;
    if (!recording_) controls_.ResetRecordToggle();
}

bool PlaybackEngine::IsPlaying() const {
    return controls_.PlayState() == 1;
}

void PlaybackEngine::RestartIfPlaying() {
    if (!IsPlaying()) return;
    DllAudioSystemInstance().StopOutput();
    StartPlayback(true);
}

bool PlaybackEngine::CheckRecordingLimit() {
    if (!recording_) return false;
    const RecordBuffer& record = DllRecordBufferInstance();
    if (!record.IsFull()) return false;
    DllAudioSystemInstance().StopInput();
    Pym::Trace("recording stopped at its length limit; " + std::to_string(record.Overruns()) +
               " input buffers after it were not kept");
    recording_ = false;
    controls_.ResetRecordToggle();
    return true;
}
