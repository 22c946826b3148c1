#include "audio/SoundDeviceCheck.h"

#include <alsa/asoundlib.h>

#include <string>

#include "audio/AlsaDiagnostics.h"

bool HasSoundDevice(int mixerId) {
    RouteAlsaMessagesToTrace();
    const std::string device = mixerId == 0 ? "default" : "hw:" + std::to_string(mixerId);
    snd_mixer_t* mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0 || !mixer) return false;
    bool usable = snd_mixer_attach(mixer, device.c_str()) == 0 &&
                  snd_mixer_selem_register(mixer, nullptr, nullptr) == 0 &&
                  snd_mixer_load(mixer) == 0 && snd_mixer_get_count(mixer) > 0;
    snd_mixer_close(mixer);
    return usable;
}
