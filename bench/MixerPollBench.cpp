// What the GUI timer's mixer check costs while nothing changes: the ALSA mixer on the
// "default" control device (run it with the rig's environment for PulseAudio's).
#include <chrono>
#include <cstdio>

#include "audio/MixerBackend.h"
#include "audio/VolumeControl.h"

int main() {
    VolumeControl control(MakeAlsaMixerBackend());
    int calls = 0;
    control.AddOutputVolumeListener([&] { ++calls; });
    control.Poll();  // settle anything pending from opening

    constexpr int kPolls = 100000;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kPolls; ++i) control.Poll();
    std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    std::printf("mixer poll, nothing changing: %.0f ns per poll over %d polls, %d listener calls\n",
                spent.count() / kPolls, kPolls, calls);
    std::printf("output volume %d %%, input lines %zu, input gain %d\n", control.GetOutputVolume(),
                control.InputLineNames().size(), control.InputGain());
    return 0;
}
