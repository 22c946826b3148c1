#pragma once

// Whether the machine has a sound device the program can use: the mixer of the given number
// (0: ALSA's "default" control device, N: the control device "hw:N") opens and has at least one
// element. Asks nothing of the audio library, so it is safe before anything else of the
// sound side has started.
bool HasSoundDevice(int mixerId);
