#include "audio/SoundDeviceCheck.h"

#include <alsa/asoundlib.h>

#include <string>
#include <utility>

#include "audio/AlsaDiagnostics.h"
#include "audio/CheckedMixer.h"

namespace {
snd_mixer_t* checked = nullptr;
}  // namespace

snd_mixer_t* OpenLoadedMixer(const char* device) {
    snd_mixer_t* mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0 || !mixer) return nullptr;
    if (snd_mixer_attach(mixer, device) < 0 ||
        snd_mixer_selem_register(mixer, nullptr, nullptr) < 0 || snd_mixer_load(mixer) < 0) {
        snd_mixer_close(mixer);
        return nullptr;
    }
    return mixer;
}

snd_mixer_t* TakeCheckedMixer() {
    return std::exchange(checked, nullptr);
}

bool HasSoundDevice(int mixerId) {
    RouteAlsaMessagesToTrace();
    const std::string device = mixerId == 0 ? "default" : "hw:" + std::to_string(mixerId);
    snd_mixer_t* mixer = OpenLoadedMixer(device.c_str());
    const bool usable = mixer && snd_mixer_get_count(mixer) > 0;
    if (usable && mixerId == 0) std::swap(mixer, checked);
    if (mixer) snd_mixer_close(mixer);
    return usable;
}
