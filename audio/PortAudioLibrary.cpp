#include "audio/PortAudioLibrary.h"

#include "platform/LazyLibrary.h"
#include "pym/base/Trace.h"

bool PortAudioLibrary::Load() {
    static const Platform::LazyLibrary library("libportaudio.so.2");
    if (!library.Loaded()) {
        Pym::Trace("libportaudio.so.2 not loaded: " + library.Error());
        return false;
    }
    return library.Resolve("Pa_Initialize", initialize) &&
           library.Resolve("Pa_Terminate", terminate) &&
           library.Resolve("Pa_GetDefaultInputDevice", defaultInputDevice) &&
           library.Resolve("Pa_GetDefaultOutputDevice", defaultOutputDevice) &&
           library.Resolve("Pa_GetDeviceInfo", deviceInfo) &&
           library.Resolve("Pa_OpenStream", openStream) &&
           library.Resolve("Pa_StartStream", startStream) &&
           library.Resolve("Pa_StopStream", stopStream) &&
           library.Resolve("Pa_AbortStream", abortStream) &&
           library.Resolve("Pa_IsStreamActive", isStreamActive) &&
           library.Resolve("Pa_GetStreamTime", streamTime) &&
           library.Resolve("Pa_GetStreamInfo", streamInfo) &&
           library.Resolve("Pa_CloseStream", closeStream);
}

const PortAudioLibrary* PortAudioLibrary::Get() {
    static const PortAudioLibrary* const loaded = [] {
        static PortAudioLibrary library;
        return library.Load() ? &library : nullptr;
    }();
    return loaded;
}
