#pragma once

#include <functional>
#include <map>
#include <vector>

#include "audio/MixerBackend.h"

// The watched values of one mixer side. A callback is called only when its value differs from
// the last one seen; the program's own writes update the last value first, so they are never
// reported back to it.
class MixerWatches {
public:
    using Reader = std::function<double()>;
    using Callback = std::function<void(double)>;

    void Watch(int key, Reader reader, Callback callback);
    void Remember(int key);
    void Check();

private:
    struct Watched {
        Reader reader;
        Callback callback;
        double last = 0;
    };
    std::map<int, Watched> watched_;
};

// Volume reading and writing common to both sides, on the backend's 0..65535 scale.
class MixerSide {
public:
    explicit MixerSide(MixerBackend& backend) : backend_(backend) {}

    // Full scale of the line's volume, -1 without one.
    long GetLineMaximum(const MixerLine& line);
    // The line's volume as a fraction of full scale (its loudest channel), -1 on failure.
    double GetLineVolume(const MixerLine& line);
    // Writes round(fraction * full scale) to every channel.
    bool SetLineVolume(const MixerLine& line, double fraction);
    // Left/right balance, 0.5 when centred, above 0.5 towards the right; -1 when unreadable.
    double GetBalance(const MixerLine& line);

    // Reads every watched value and calls the callbacks of those that changed.
    void CheckWatches() { watches_.Check(); }
    // Watches the line's volume; the callback gets the new fraction.
    void WatchVolume(const MixerLine& line, MixerWatches::Callback callback);

protected:
    bool WriteAll(const MixerLine& line, long value);

    MixerBackend& backend_;
    MixerWatches watches_;
    double savedBalance_ = 0.5;
};

// The recording destination and its sources.
class RecordingMixer : public MixerSide {
public:
    using MixerSide::MixerSide;

    std::vector<MixerLine> ListSources();
    bool HasSourceOfType(int componentType);
    bool FindSourceByName(const std::string& name, MixerLine& line);
    bool FindSourceByType(int componentType, MixerLine& line);
    bool SelectRecordingSource(const MixerLine& line);
    // Component type of the selected recording source, -1 when it cannot be told.
    int SelectedSourceType();
    // Watches the recording source selection; the callback gets the new source's type.
    bool WatchSelection(MixerWatches::Callback callback);

private:
    static constexpr int kSelectionKey = -2;
};

// The playback side: the wave-output line, whose stereo balance survives volume changes.
class PlaybackMixer : public MixerSide {
public:
    using MixerSide::MixerSide;

    bool FindLine(int componentType, MixerLine& line);
    // 0 when the line or its volume is missing, -1 when the value cannot be read.
    double GetVolume(int componentType);
    bool SetVolume(int componentType, double fraction);
};
