#include "audio/MemoryMixerBackend.h"

int MemoryMixerBackend::Add(const std::string& name, int componentType, int channels,
                            bool withVolume) {
    int id = static_cast<int>(lines_.size()) + 1;
    Entry entry;
    entry.line = MixerLine{id, componentType, channels, name, name};
    entry.withVolume = withVolume;
    entry.values.assign(static_cast<size_t>(channels), kMixerFullScale / 2);
    lines_[id] = entry;
    return id;
}

int MemoryMixerBackend::AddSource(const std::string& name, int componentType, int channels,
                                  bool withVolume) {
    int id = Add(name, componentType, channels, withVolume);
    sources_.push_back(id);
    if (selected_ < 0) selected_ = id;
    return id;
}

int MemoryMixerBackend::SetOutput(const std::string& name, int channels, bool withVolume) {
    output_ = Add(name, kComponentWaveOut, channels, withVolume);
    return output_;
}

MemoryMixerBackend::Entry* MemoryMixerBackend::Find(int lineId) {
    if (!open_) return nullptr;
    auto it = lines_.find(lineId);
    return it == lines_.end() ? nullptr : &it->second;
}

void MemoryMixerBackend::ChangeOutside(int lineId, int channel, long value) {
    lines_.at(lineId).values.at(static_cast<size_t>(channel)) = value;
    changed_ = true;
}

void MemoryMixerBackend::SelectOutside(int lineId) {
    selected_ = lineId;
    changed_ = true;
}

long MemoryMixerBackend::Channel(int lineId, int channel) const {
    return lines_.at(lineId).values.at(static_cast<size_t>(channel));
}

bool MemoryMixerBackend::OutputLine(MixerLine& line) {
    Entry* entry = Find(output_);
    if (!entry) return false;
    line = entry->line;
    return true;
}

std::vector<MixerLine> MemoryMixerBackend::RecordingSources() {
    std::vector<MixerLine> result;
    if (!open_) return result;
    for (int id : sources_) result.push_back(lines_.at(id).line);
    return result;
}

bool MemoryMixerBackend::HasVolume(int lineId) {
    Entry* entry = Find(lineId);
    return entry && entry->withVolume;
}

bool MemoryMixerBackend::ReadChannel(int lineId, int channel, long& value) {
    Entry* entry = Find(lineId);
    if (!entry || !entry->withVolume || channel < 0 || channel >= entry->line.channels)
        return false;
    value = entry->values[static_cast<size_t>(channel)];
    return true;
}

bool MemoryMixerBackend::WriteChannel(int lineId, int channel, long value) {
    Entry* entry = Find(lineId);
    if (!entry || !entry->withVolume || channel < 0 || channel >= entry->line.channels)
        return false;
    entry->values[static_cast<size_t>(channel)] = value;
    ++writes_;
    // A real mixer reports the program's own writes as changes too.
    changed_ = true;
    return true;
}

int MemoryMixerBackend::SelectedSource() {
    return HasSourceSelector() ? selected_ : -1;
}

bool MemoryMixerBackend::SelectSource(int lineId) {
    if (!HasSourceSelector() || !Find(lineId)) return false;
    selected_ = lineId;
    changed_ = true;
    return true;
}

bool MemoryMixerBackend::TakeChanges() {
    bool changed = changed_;
    changed_ = false;
    return changed;
}
