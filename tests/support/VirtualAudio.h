#pragma once

#include <memory>

#include "audio/AudioSystem.h"
#include "audio/MemoryMixerBackend.h"
#include "audio/VirtualStreamBackend.h"

namespace Testing {

// The process's audio on test doubles: a sound device the test clocks by hand, and an
// in-memory mixer with a stereo "Master" output and a microphone. The device must be installed
// before the audio system is first used (its streams keep the device they were made with);
// it outlives the audio system, which is made after it.
inline VirtualStreamBackend& InstallVirtualDevice() {
    static VirtualStreamBackend device;
    UseStreamBackend(&device);
    return device;
}

// A fresh mixer for the audio system; the reference stays valid until the next install.
inline MemoryMixerBackend& InstallMemoryMixer() {
    auto backend = std::make_unique<MemoryMixerBackend>();
    MemoryMixerBackend& mixer = *backend;
    mixer.SetOutput("Master");
    mixer.AddSource("Mic", kComponentMicrophone);
    DllAudioSystemInstance().UseMixerBackend(std::move(backend));
    return mixer;
}

}  // namespace Testing
