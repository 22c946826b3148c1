#pragma once

#include <portaudio.h>

// PortAudio, opened when the sound devices are first made ready (after the window's first
// frame) rather than linked: linked, it and the JACK and Berkeley DB libraries it brings are
// loaded and relocated before the program's first line runs.
class PortAudioLibrary {
public:
    // The library with all its entry points, or null when libportaudio.so.2 cannot be opened.
    static const PortAudioLibrary* Get();

    decltype(&Pa_Initialize) initialize = nullptr;
    decltype(&Pa_Terminate) terminate = nullptr;
    decltype(&Pa_GetDefaultInputDevice) defaultInputDevice = nullptr;
    decltype(&Pa_GetDefaultOutputDevice) defaultOutputDevice = nullptr;
    decltype(&Pa_GetDeviceInfo) deviceInfo = nullptr;
    decltype(&Pa_OpenStream) openStream = nullptr;
    decltype(&Pa_StartStream) startStream = nullptr;
    decltype(&Pa_StopStream) stopStream = nullptr;
    decltype(&Pa_AbortStream) abortStream = nullptr;
    decltype(&Pa_IsStreamActive) isStreamActive = nullptr;
    decltype(&Pa_GetStreamTime) streamTime = nullptr;
    decltype(&Pa_GetStreamInfo) streamInfo = nullptr;
    decltype(&Pa_CloseStream) closeStream = nullptr;

private:
    PortAudioLibrary() = default;
    bool Load();
};
