#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/AnalysisFrame.h"
#include "audio/InputPath.h"
#include "audio/ScopeBuffer.h"
#include "audio/VolumeControl.h"
#include "audio/Wave.h"

// The one output and the one input stream of the process, and the input path that reduces
// the input to 11025 Hz for the scope displays and the pitch analysis. All operations run on
// the GUI thread, except ProcessInput, which is the input stream's callback.
class AudioSystem {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kInputFrames = 512;
    static constexpr int kReduction = Decimator::kTunerFactor;

    AudioSystem();
    ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    // Each returns the start's result code (or the open's, when the open failed).
    int RestartInput(int sampleRate, int framesPerBuffer, StreamCallback callback,
                     void* userData = nullptr);
    int RestartOutput(int sampleRate, int framesPerBuffer, StreamCallback callback,
                      void* userData = nullptr);
    int RestartOutputLooped(int sampleRate, int framesPerBuffer, StreamCallback callback,
                            void* userData = nullptr);
    int RestoreInputAnalysis();

    void StopOutput();
    void StopInput();
    void StartInput();
    // Stops and closes both streams: no device thread calls into anything afterwards. The
    // program does this before it destroys what the callbacks use.
    void CloseStreams();
    // Traces what the device threads noted (they never trace themselves). Called with the
    // window's timer ticks and whenever a stream stops.
    void ReportDiagnostics();
    // Initialises the sound devices ahead of the first stream (see Wave::Prepare).
    void PrepareDevices();

    bool IsOutputActive();
    // Seconds played by the output since its start; 0 after a failed open or start. It moves
    // in steps of the device's block.
    double OutputTime() const;
    // Seconds of the output heard by now, moving on smoothly between the device's blocks: what
    // displays that follow the sound read. 0 after a failed open or start.
    double SoundingTime() const;
    // Where `position` lies within its `period`, in [0, 1); exactly 1 while the output is
    // stopped or at position 0.
    float OutputPhase(double position, double period);

    // The input stream's callback: allocates nothing and never waits.
    int ProcessInput(void* input, void* output, unsigned long frames, double outTime,
                     void* userData) noexcept;

    // The mixer: see VolumeControl. Opened on first use, on the GUI thread.
    int GetOutputVolume() { return Mixer().GetOutputVolume(); }
    void SetOutputVolume(int percent) { Mixer().SetOutputVolume(percent); }
    int GetInputVolume() { return Mixer().GetInputVolume(); }
    void SetInputVolume(int percent) { Mixer().SetInputVolume(percent); }
    bool SelectInputLine(const std::string& name) { return Mixer().SelectInputLine(name); }
    int InputGain() { return Mixer().InputGain(); }
    std::vector<std::string> InputLineNames() { return Mixer().InputLineNames(); }
    std::string SelectedInputLineName() { return Mixer().SelectedInputLineName(); }
    std::string InputLineForType(int componentType) {
        return Mixer().InputLineForType(componentType);
    }
    int AddOutputVolumeListener(std::function<void()> listener) {
        return Mixer().AddOutputVolumeListener(std::move(listener));
    }
    int AddInputSourceListener(std::function<void(double)> listener) {
        return Mixer().AddInputSourceListener(std::move(listener));
    }
    void RemoveOutputVolumeListener(int id) { Mixer().RemoveOutputVolumeListener(id); }
    void RemoveInputSourceListener(int id) { Mixer().RemoveInputSourceListener(id); }
    // Mixer changes made outside the program reach the listeners from here: called when the
    // descriptors below show a change, or at the windows' ticks when there are none.
    void PollMixer() { Mixer().Poll(); }
    std::vector<pollfd> MixerChangeDescriptors() { return Mixer().ChangeDescriptors(); }
    VolumeControl& Mixer();
    // Replaces the mixer (tests use an in-memory one); listeners of the old mixer are dropped.
    void UseMixerBackend(std::unique_ptr<MixerBackend> backend);

    WaveOut& Output() { return out_; }
    WaveIn& Input() { return in_; }

private:
    int RestartOutputWith(bool loop, int sampleRate, int framesPerBuffer, StreamCallback callback,
                          void* userData);
    StreamCallback AnalysisCallback();

    WaveOut out_;
    WaveIn in_;
    ScopeBuffer& scope_;
    AnalysisFrame& analysis_;
    BlockCollector blocks_;
    Decimator decimator_;
    std::vector<float> reduced_;
    std::unique_ptr<VolumeControl> mixer_;
};

AudioSystem& DllAudioSystemInstance();
