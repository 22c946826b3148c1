#pragma once

#include <map>
#include <string>
#include <vector>

#include "audio/MixerBackend.h"

// A mixer held in memory for tests: the test adds lines, sets their channels and changes them
// as if from outside the program.
class MemoryMixerBackend : public MixerBackend {
public:
    // As a mixer that did not open: every line query fails.
    void Close() { open_ = false; }

    // Returns the new line's id. A line without volume keeps its channels but no values.
    int AddSource(const std::string& name, int componentType, int channels = 2,
                  bool withVolume = true);
    int SetOutput(const std::string& name, int channels = 2, bool withVolume = true);
    void SetSourceSelector(bool present) { selector_ = present; }

    void ChangeOutside(int lineId, int channel, long value);
    void SelectOutside(int lineId);
    long Channel(int lineId, int channel) const;
    int WriteCount() const { return writes_; }

    bool IsOpen() const override { return open_; }
    bool OutputLine(MixerLine& line) override;
    std::vector<MixerLine> RecordingSources() override;
    bool HasVolume(int lineId) override;
    bool ReadChannel(int lineId, int channel, long& value) override;
    bool WriteChannel(int lineId, int channel, long value) override;
    bool HasSourceSelector() override { return open_ && selector_; }
    int SelectedSource() override;
    bool SelectSource(int lineId) override;
    bool TakeChanges() override;

private:
    struct Entry {
        MixerLine line;
        bool withVolume = true;
        std::vector<long> values;
    };
    int Add(const std::string& name, int componentType, int channels, bool withVolume);
    Entry* Find(int lineId);

    bool open_ = true;
    bool selector_ = true;
    bool changed_ = false;
    int writes_ = 0;
    int output_ = -1;
    int selected_ = -1;
    std::vector<int> sources_;
    std::map<int, Entry> lines_;
};
