#pragma once

#include <poll.h>

#include <memory>
#include <string>
#include <vector>

// Component types of the lines the mixers deal with.
enum MixerComponentType {
    kComponentUndefined = 4096,
    kComponentLine = 4098,
    kComponentMicrophone = 4099,
    kComponentWaveOut = 4104,
};

// Every volume is presented on this scale, whatever the device's own range.
constexpr long kMixerFullScale = 65535;

struct MixerLine {
    int id = -1;
    int componentType = kComponentUndefined;
    int channels = 0;
    std::string shortName;
    std::string name;
};

// One sound card's mixer as the volume controls see it: a wave-output line, the sources of the
// recording destination, their volumes per channel, and the recording source selection.
class MixerBackend {
public:
    virtual ~MixerBackend() = default;

    virtual bool IsOpen() const = 0;
    virtual bool OutputLine(MixerLine& line) = 0;
    virtual std::vector<MixerLine> RecordingSources() = 0;

    virtual bool HasVolume(int lineId) = 0;
    virtual bool ReadChannel(int lineId, int channel, long& value) = 0;
    virtual bool WriteChannel(int lineId, int channel, long value) = 0;

    virtual bool HasSourceSelector() = 0;
    // The line id of the selected recording source, -1 when none can be told.
    virtual int SelectedSource() = 0;
    virtual bool SelectSource(int lineId) = 0;

    // Whether the mixer may have changed since the last call; cheap when nothing happened.
    virtual bool TakeChanges() = 0;
    // What poll(2) can wait on for changes; empty when the mixer cannot be waited for and
    // must be asked.
    virtual std::vector<pollfd> ChangeDescriptors() { return {}; }
};

// The "default" control device through ALSA's simple mixer elements.
std::unique_ptr<MixerBackend> MakeAlsaMixerBackend();
