#pragma once

#include <alsa/asoundlib.h>

// The ALSA mixer `device` opened with its simple elements registered and loaded; null when it
// cannot be.
snd_mixer_t* OpenLoadedMixer(const char* device);

// The "default" mixer that the last sound-device check found usable, handed over once to the
// mixer backend made next instead of being closed and opened again: under a sound server each
// opening is a connection to it, some 20 ms of the start. Null when there is none.
snd_mixer_t* TakeCheckedMixer();
