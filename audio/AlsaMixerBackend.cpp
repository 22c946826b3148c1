#include <alsa/asoundlib.h>
#include <poll.h>

#include <algorithm>

#include <string>
#include <vector>

#include "audio/AlsaDiagnostics.h"
#include "audio/CheckedMixer.h"
#include "audio/MixerBackend.h"
#include "audio/Rounding.h"

namespace {

// Line ids: the element's index, doubled, plus one for its capture side.
class AlsaMixerBackend : public MixerBackend {
public:
    AlsaMixerBackend() {
        RouteAlsaMessagesToTrace();
        mixer_ = TakeCheckedMixer();
        if (!mixer_) mixer_ = OpenLoadedMixer("default");
        if (!mixer_) return;
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(mixer_); e; e = snd_mixer_elem_next(e))
            if (snd_mixer_selem_is_active(e)) elements_.push_back(e);
    }
    ~AlsaMixerBackend() override {
        if (mixer_) snd_mixer_close(mixer_);
    }

    bool IsOpen() const override { return mixer_ != nullptr; }

    bool OutputLine(MixerLine& line) override {
        int chosen = -1;
        for (const char* preferred : {"Master", "PCM"}) {
            for (size_t i = 0; i < elements_.size() && chosen < 0; ++i)
                if (Name(elements_[i]) == preferred &&
                    snd_mixer_selem_has_playback_volume(elements_[i]))
                    chosen = static_cast<int>(i);
        }
        for (size_t i = 0; i < elements_.size() && chosen < 0; ++i)
            if (snd_mixer_selem_has_playback_volume(elements_[i])) chosen = static_cast<int>(i);
        if (chosen < 0) return false;
        line = Describe(chosen * 2, kComponentWaveOut);
        return true;
    }

    std::vector<MixerLine> RecordingSources() override {
        std::vector<MixerLine> sources;
        for (size_t i = 0; i < elements_.size(); ++i) {
            if (!snd_mixer_selem_has_capture_volume(elements_[i])) continue;
            std::string name = Name(elements_[i]);
            int type = name.find("Mic") != std::string::npos    ? kComponentMicrophone
                       : name.find("Line") != std::string::npos ? kComponentLine
                                                                : kComponentUndefined;
            sources.push_back(Describe(static_cast<int>(i) * 2 + 1, type));
        }
        return sources;
    }

    bool HasVolume(int lineId) override {
        snd_mixer_elem_t* e = Element(lineId);
        if (!e) return false;
        return Capture(lineId) ? snd_mixer_selem_has_capture_volume(e)
                               : snd_mixer_selem_has_playback_volume(e);
    }

    bool ReadChannel(int lineId, int channel, long& value) override {
        snd_mixer_elem_t* e = Element(lineId);
        long min = 0, max = 0, raw = 0;
        if (!e || !Range(lineId, min, max) || channel < 0 || channel >= Channels(lineId))
            return false;
        auto ch = ChannelId(lineId, channel);
        int rc = Capture(lineId) ? snd_mixer_selem_get_capture_volume(e, ch, &raw)
                                 : snd_mixer_selem_get_playback_volume(e, ch, &raw);
        if (rc < 0) return false;
        value = static_cast<long>(
            Nearest(static_cast<long double>(raw - min) * kMixerFullScale / (max - min)));
        return true;
    }

    bool WriteChannel(int lineId, int channel, long value) override {
        snd_mixer_elem_t* e = Element(lineId);
        long min = 0, max = 0;
        if (!e || !Range(lineId, min, max) || channel < 0 || channel >= Channels(lineId))
            return false;
        long raw = min + static_cast<long>(Nearest(static_cast<long double>(value) * (max - min) /
                                                   kMixerFullScale));
        auto ch = ChannelId(lineId, channel);
        int rc = Capture(lineId) ? snd_mixer_selem_set_capture_volume(e, ch, raw)
                                 : snd_mixer_selem_set_playback_volume(e, ch, raw);
        return rc >= 0;
    }

    bool HasSourceSelector() override { return SourceEnum() || !SwitchSources().empty(); }

    int SelectedSource() override {
        if (snd_mixer_elem_t* e = SourceEnum()) {
            unsigned item = 0;
            if (snd_mixer_selem_get_enum_item(e, SND_MIXER_SCHN_FRONT_LEFT, &item) < 0) return -1;
            std::string name = ItemName(e, item);
            for (const MixerLine& source : RecordingSources())
                if (source.name == name) return source.id;
            return -1;
        }
        for (int id : SwitchSources()) {
            int on = 0;
            if (snd_mixer_selem_get_capture_switch(Element(id), SND_MIXER_SCHN_FRONT_LEFT, &on) ==
                    0 &&
                on)
                return id;
        }
        return -1;
    }

    bool SelectSource(int lineId) override {
        if (snd_mixer_elem_t* e = SourceEnum()) return SelectItem(e, lineId);
        std::vector<int> ids = SwitchSources();
        bool found = false;
        for (int id : ids) found = found || id == lineId;
        // Switching every source off for a line that is not among them would mute recording.
        if (!found) return true;
        // Capture switches are used exclusively: the chosen source on, all others off.
        bool ok = true;
        for (int id : ids)
            ok = snd_mixer_selem_set_capture_switch_all(Element(id), id == lineId ? 1 : 0) >= 0 &&
                 ok;
        return ok;
    }

    bool TakeChanges() override {
        if (!mixer_) return false;
        int count = snd_mixer_poll_descriptors_count(mixer_);
        if (count <= 0) return true;
        std::vector<pollfd> fds(static_cast<size_t>(count));
        count = snd_mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(count));
        if (count <= 0 || poll(fds.data(), static_cast<nfds_t>(count), 0) <= 0) return false;
        unsigned short revents = 0;
        snd_mixer_poll_descriptors_revents(mixer_, fds.data(), static_cast<unsigned>(count),
                                           &revents);
        if (!revents) return false;
        snd_mixer_handle_events(mixer_);
        return true;
    }

    std::vector<pollfd> ChangeDescriptors() override {
        if (!mixer_) return {};
        const int count = snd_mixer_poll_descriptors_count(mixer_);
        if (count <= 0) return {};
        std::vector<pollfd> fds(static_cast<size_t>(count));
        const int filled =
            snd_mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(count));
        fds.resize(static_cast<size_t>(std::max(filled, 0)));
        return fds;
    }

private:
    static std::string Name(snd_mixer_elem_t* e) { return snd_mixer_selem_get_name(e); }
    static bool Capture(int lineId) { return lineId % 2 == 1; }

    snd_mixer_elem_t* Element(int lineId) const {
        size_t index = static_cast<size_t>(lineId / 2);
        return lineId >= 0 && index < elements_.size() ? elements_[index] : nullptr;
    }

    bool Range(int lineId, long& min, long& max) {
        snd_mixer_elem_t* e = Element(lineId);
        int rc = Capture(lineId) ? snd_mixer_selem_get_capture_volume_range(e, &min, &max)
                                 : snd_mixer_selem_get_playback_volume_range(e, &min, &max);
        return rc >= 0 && max > min;
    }

    // The element's channels in order; a mono element has the one.
    std::vector<snd_mixer_selem_channel_id_t> ChannelIds(int lineId) const {
        snd_mixer_elem_t* e = Element(lineId);
        std::vector<snd_mixer_selem_channel_id_t> ids;
        bool capture = Capture(lineId);
        if (capture ? snd_mixer_selem_is_capture_mono(e) : snd_mixer_selem_is_playback_mono(e))
            return {SND_MIXER_SCHN_MONO};
        for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
            auto id = static_cast<snd_mixer_selem_channel_id_t>(c);
            if (capture ? snd_mixer_selem_has_capture_channel(e, id)
                        : snd_mixer_selem_has_playback_channel(e, id))
                ids.push_back(id);
        }
        return ids;
    }
    int Channels(int lineId) const { return static_cast<int>(ChannelIds(lineId).size()); }
    snd_mixer_selem_channel_id_t ChannelId(int lineId, int channel) const {
        return ChannelIds(lineId)[static_cast<size_t>(channel)];
    }

    MixerLine Describe(int lineId, int type) const {
        std::string name = Name(Element(lineId));
        return MixerLine{lineId, type, Channels(lineId), name, name};
    }

    // The card's own recording source chooser, when it has one.
    snd_mixer_elem_t* SourceEnum() const {
        for (snd_mixer_elem_t* e : elements_) {
            std::string name = Name(e);
            if ((name == "Input Source" || name == "Capture Source") &&
                snd_mixer_selem_is_enumerated(e))
                return e;
        }
        return nullptr;
    }

    static std::string ItemName(snd_mixer_elem_t* e, unsigned item) {
        char name[64] = {};
        if (snd_mixer_selem_get_enum_item_name(e, item, sizeof name, name) < 0) return {};
        return name;
    }

    // The item named like the line; no matching item leaves the choice as it is.
    bool SelectItem(snd_mixer_elem_t* e, int lineId) {
        snd_mixer_elem_t* line = Element(lineId);
        int items = snd_mixer_selem_get_enum_items(e);
        if (!line || items <= 0) return !line;
        for (int item = 0; item < items; ++item) {
            if (ItemName(e, static_cast<unsigned>(item)) != Name(line)) continue;
            bool ok = snd_mixer_selem_set_enum_item(e, SND_MIXER_SCHN_FRONT_LEFT,
                                                    static_cast<unsigned>(item)) >= 0;
            // A stereo chooser takes the same item on its other channel; a mono one refuses.
            snd_mixer_selem_set_enum_item(e, SND_MIXER_SCHN_FRONT_RIGHT,
                                          static_cast<unsigned>(item));
            return ok;
        }
        return true;
    }

    std::vector<int> SwitchSources() {
        std::vector<int> ids;
        for (const MixerLine& source : RecordingSources())
            if (snd_mixer_selem_has_capture_switch(Element(source.id))) ids.push_back(source.id);
        // One source alone has nothing to choose between.
        return ids.size() > 1 ? ids : std::vector<int>{};
    }

    snd_mixer_t* mixer_ = nullptr;
    std::vector<snd_mixer_elem_t*> elements_;
};

}  // namespace

std::unique_ptr<MixerBackend> MakeAlsaMixerBackend() {
    return std::make_unique<AlsaMixerBackend>();
}
