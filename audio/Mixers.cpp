#include "audio/Mixers.h"

#include <algorithm>

#include "audio/Rounding.h"

void MixerWatches::Watch(int key, Reader reader, Callback callback) {
    double last = reader();
    watched_[key] = Watched{std::move(reader), std::move(callback), last};
}

void MixerWatches::Remember(int key) {
    auto it = watched_.find(key);
    if (it != watched_.end()) it->second.last = it->second.reader();
}

void MixerWatches::Check() {
    for (auto& [key, watched] : watched_) {
        double value = watched.reader();
        if (value == watched.last) continue;
        watched.last = value;
        watched.callback(value);
    }
}

long MixerSide::GetLineMaximum(const MixerLine& line) {
    return backend_.HasVolume(line.id) ? kMixerFullScale : -1;
}

double MixerSide::GetLineVolume(const MixerLine& line) {
    if (!backend_.HasVolume(line.id) || line.channels < 1) return -1;
    long loudest = -1;
    for (int channel = 0; channel < line.channels; ++channel) {
        long value = 0;
        if (!backend_.ReadChannel(line.id, channel, value)) return -1;
        loudest = std::max(loudest, value);
    }
    return static_cast<double>(loudest) / kMixerFullScale;
}

bool MixerSide::WriteAll(const MixerLine& line, long value) {
    bool ok = line.channels > 0;
    for (int channel = 0; channel < line.channels; ++channel)
        ok = backend_.WriteChannel(line.id, channel, value) && ok;
    watches_.Remember(line.id);
    return ok;
}

bool MixerSide::SetLineVolume(const MixerLine& line, double fraction) {
    if (!backend_.HasVolume(line.id) || !(fraction >= 0.0) || fraction > 1.0) return false;
    return WriteAll(line, static_cast<long>(Nearest(fraction * kMixerFullScale)));
}

double MixerSide::GetBalance(const MixerLine& line) {
    double v = GetLineVolume(line);
    if (v < 0) return -1;
    if (v == 0) return savedBalance_;
    if (line.channels != 2) return 0.5;
    long left = 0, right = 0;
    if (!backend_.ReadChannel(line.id, 0, left) || !backend_.ReadChannel(line.id, 1, right))
        return -1;
    double l = static_cast<double>(left) / kMixerFullScale;
    double r = static_cast<double>(right) / kMixerFullScale;
    if (l != v) return 1.0 - (l / v) * 0.5;
    return (r / v) * 0.5;
}

void MixerSide::WatchVolume(const MixerLine& line, MixerWatches::Callback callback) {
    if (!backend_.HasVolume(line.id)) return;
    watches_.Watch(
        line.id, [this, line] { return GetLineVolume(line); }, std::move(callback));
}

std::vector<MixerLine> RecordingMixer::ListSources() {
    return backend_.RecordingSources();
}

bool RecordingMixer::HasSourceOfType(int componentType) {
    MixerLine line;
    return FindSourceByType(componentType, line);
}

bool RecordingMixer::FindSourceByName(const std::string& name, MixerLine& line) {
    for (const MixerLine& source : ListSources()) {
        if (source.name != name) continue;
        line = source;
        return true;
    }
    return false;
}

bool RecordingMixer::FindSourceByType(int componentType, MixerLine& line) {
    for (const MixerLine& source : ListSources()) {
        if (source.componentType != componentType) continue;
        line = source;
        return true;
    }
    return false;
}

bool RecordingMixer::SelectRecordingSource(const MixerLine& line) {
    if (!backend_.HasSourceSelector()) return false;
    bool ok = backend_.SelectSource(line.id);
    watches_.Remember(kSelectionKey);
    return ok;
}

int RecordingMixer::SelectedSourceType() {
    int id = backend_.SelectedSource();
    for (const MixerLine& source : ListSources())
        if (source.id == id) return source.componentType;
    return -1;
}

bool RecordingMixer::WatchSelection(MixerWatches::Callback callback) {
    if (!backend_.HasSourceSelector()) return false;
    watches_.Watch(
        kSelectionKey, [this] { return static_cast<double>(SelectedSourceType()); },
        std::move(callback));
    return true;
}

bool PlaybackMixer::FindLine(int componentType, MixerLine& line) {
    return componentType == kComponentWaveOut && backend_.OutputLine(line);
}

double PlaybackMixer::GetVolume(int componentType) {
    MixerLine line;
    if (!FindLine(componentType, line) || !backend_.HasVolume(line.id)) return 0;
    return GetLineVolume(line);
}

bool PlaybackMixer::SetVolume(int componentType, double fraction) {
    MixerLine line;
    if (!FindLine(componentType, line) || !(fraction >= 0.0) || fraction > 1.0) return false;
    double balance = GetBalance(line);
    if (balance < 0) return false;
    long target = static_cast<long>(Nearest(fraction * kMixerFullScale));
    // At zero volume the balance cannot be read back, so it is kept here.
    if (target == 0) savedBalance_ = balance;
    double current = GetLineVolume(line);
    if (static_cast<long>(Nearest(current * kMixerFullScale)) == target) return true;
    if (line.channels != 2) return WriteAll(line, target);
    long left = balance > 0.5 ? static_cast<long>(Nearest(target * (1.0 - balance) * 2)) : target;
    long right = balance < 0.5 ? static_cast<long>(Nearest(target * balance * 2)) : target;
    bool ok = backend_.WriteChannel(line.id, 0, left) && backend_.WriteChannel(line.id, 1, right);
    watches_.Remember(line.id);
    return ok;
}
