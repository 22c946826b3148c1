#include "audio/VolumeControl.h"

#include "audio/Rounding.h"

namespace {
int Percent(double fraction) {
    return fraction < 0 ? -1 : static_cast<int>(Nearest(fraction * 100.0));
}
}  // namespace

VolumeControl::VolumeControl(std::unique_ptr<MixerBackend> backend)
    : backend_(std::move(backend)), recording_(*backend_), playback_(*backend_) {
    DiscoverInputLines();
}

void VolumeControl::DiscoverInputLines() {
    MixerLine line;
    if (recording_.FindSourceByType(kComponentMicrophone, line) ||
        recording_.FindSourceByName("Microphone", line))
        foundInputLines_["MIC"] = line;
    if (recording_.FindSourceByType(kComponentLine, line) ||
        recording_.FindSourceByName("Line In", line))
        foundInputLines_["LINE"] = line;

    if (foundInputLines_.empty()) {
        for (const MixerLine& source : recording_.ListSources())
            inputLines_.emplace(source.shortName, source);
    } else {
        inputLines_ = foundInputLines_;
    }
    // An input volume changed outside the program moves the sliders like an output change.
    for (const auto& [name, input] : inputLines_)
        recording_.WatchVolume(input, [this](double) { NotifyVolume(); });
    if (!inputLines_.empty()) SelectInputLine(inputLines_.begin()->first);

    if (playback_.FindLine(kComponentWaveOut, line))
        playback_.WatchVolume(line, [this](double) { NotifyVolume(); });
    recording_.WatchSelection([this](double type) {
        if (static_cast<int>(type) == selectedInputLine_.componentType) return;
        inputSourceListeners_.Call(type);
    });
}

void VolumeControl::NotifyVolume() {
    outputVolumeListeners_.Call();
}

int VolumeControl::GetOutputVolume() {
    return Percent(playback_.GetVolume(kComponentWaveOut));
}

void VolumeControl::SetOutputVolume(int percent) {
    if (percent < 0 || percent > 100) return;
    playback_.SetVolume(kComponentWaveOut, percent * 0.01);
}

int VolumeControl::GetInputVolume() {
    return Percent(recording_.GetLineVolume(selectedInputLine_));
}

void VolumeControl::SetInputVolume(int percent) {
    if (percent < 0 || percent > 100) return;
    recording_.SetLineVolume(selectedInputLine_, percent * 0.01);
}

bool VolumeControl::SelectInputLine(const std::string& name) {
    auto it = inputLines_.find(name);
    if (it == inputLines_.end()) return false;
    selectedInputLine_ = it->second;
    recording_.SelectRecordingSource(selectedInputLine_);
    return true;
}

std::string VolumeControl::SelectedInputLineName() const {
    for (const auto& [name, line] : inputLines_)
        if (line.id == selectedInputLine_.id) return name;
    return std::string();
}

int VolumeControl::InputGain() {
    long maximum = recording_.GetLineMaximum(selectedInputLine_);
    // A line without a volume control still records: -1 here would silence the tuner.
    if (maximum <= 0) return kNominalInputGain;
    return static_cast<int>(Nearest(maximum * 0.5));
}

std::vector<std::string> VolumeControl::InputLineNames() const {
    std::vector<std::string> names;
    for (const auto& entry : inputLines_) names.push_back(entry.first);
    return names;
}

std::string VolumeControl::InputLineForType(int componentType) const {
    for (const auto& [name, line] : inputLines_)
        if (line.componentType == componentType) return name;
    return {};
}

int VolumeControl::AddOutputVolumeListener(std::function<void()> listener) {
    return outputVolumeListeners_.Add(std::move(listener));
}

int VolumeControl::AddInputSourceListener(std::function<void(double)> listener) {
    return inputSourceListeners_.Add(std::move(listener));
}

void VolumeControl::Poll() {
    // Both sides share one backend, whose change report is taken once.
    if (!backend_->TakeChanges()) return;
    recording_.CheckWatches();
    playback_.CheckWatches();
}
