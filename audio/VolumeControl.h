#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/ListenerList.h"
#include "audio/MixerBackend.h"
#include "audio/Mixers.h"

// The volume sliders' and the input combo's view of the mixer: output and input volume in
// percent, the input lines the user can choose from, and listeners told of changes made
// outside the program. Everything runs on the GUI thread; Poll is called when the mixer's
// descriptors show a change (or from the windows' ticks for a mixer without any).
class VolumeControl {
public:
    // Half the usual 0..65535 full scale.
    static constexpr int kNominalInputGain = 32768;

    explicit VolumeControl(std::unique_ptr<MixerBackend> backend);
    VolumeControl(const VolumeControl&) = delete;
    VolumeControl& operator=(const VolumeControl&) = delete;

    // Percent 0..100, -1 when the mixer cannot tell (0 when there is no output volume).
    int GetOutputVolume();
    void SetOutputVolume(int percent);
    int GetInputVolume();
    void SetInputVolume(int percent);

    bool SelectInputLine(const std::string& name);
    int InputGain();
    std::vector<std::string> InputLineNames() const;
    std::string InputLineForType(int componentType) const;
    const MixerLine& SelectedInputLine() const { return selectedInputLine_; }
    // The name the selected line goes by among the input lines; empty without one.
    std::string SelectedInputLineName() const;

    // Each returns an id for the matching Remove.
    int AddOutputVolumeListener(std::function<void()> listener);
    int AddInputSourceListener(std::function<void(double)> listener);
    void RemoveOutputVolumeListener(int id) { outputVolumeListeners_.Remove(id); }
    void RemoveInputSourceListener(int id) { inputSourceListeners_.Remove(id); }

    void Poll();
    std::vector<pollfd> ChangeDescriptors() { return backend_->ChangeDescriptors(); }

    RecordingMixer& Recording() { return recording_; }
    PlaybackMixer& Playback() { return playback_; }

private:
    void DiscoverInputLines();
    void NotifyVolume();

    std::unique_ptr<MixerBackend> backend_;
    RecordingMixer recording_;
    PlaybackMixer playback_;
    MixerLine selectedInputLine_;
    std::map<std::string, MixerLine> foundInputLines_;
    std::map<std::string, MixerLine> inputLines_;
    ListenerList<> outputVolumeListeners_;
    ListenerList<double> inputSourceListeners_;
};
