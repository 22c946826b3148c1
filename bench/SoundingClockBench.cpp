// How closely the sounding time that the beat displays read follows the sound, on the real
// device (run it in the rig, or on a desktop): a bar plays, and at 200 random moments the
// sounding time is read and set against the stream's own frame count at the device's next
// block, which places the frame heard at that moment from what the read could not yet know.
// The written OutputTime, which moves in whole blocks, is measured beside it.
// Goal: the sounding time within 2 ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

#include "audio/AudioSystem.h"
#include "audio/SoundDeviceCheck.h"
#include "metronome/PlaybackEngine.h"
#include "settings/AppSettings.h"

namespace {

constexpr int kReads = 200;
constexpr double kRate = AudioSystem::kSampleRate;

void Print(const char* what, std::vector<double> errors) {
    std::sort(errors.begin(), errors.end());
    std::printf("  %-34s median %6.2f ms, worst %6.2f ms\n", what, errors[errors.size() / 2],
                errors.back());
}

}  // namespace

int main() {
    if (!HasSoundDevice(0)) {
        std::printf("sounding clock bench: no sound device (start the rig: scripts/rig start)\n");
        return 0;
    }
    AppSettings& settings = DllAppSettingsInstance();
    settings.desiredFrequency = 440.0f;
    AudioSystem& audio = DllAudioSystemInstance();
    TonePlaybackControls controls;
    PlaybackEngine engine(controls);
    engine.PlayBar(true, "", 114, 4);
    std::this_thread::sleep_for(std::chrono::seconds(1));  // past the stream's start-up
    const Wave& out = audio.Output();
    if (!out.Sounding().Stamped() || !(out.StreamClock() > 0.0)) {
        std::printf(
            "sounding clock bench: the device gives no stream clock; the displays read "
            "the block count\n");
        return 0;
    }

    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause(1, 60);
    std::vector<double> smooth, stepped;
    int missed = 0;
    while (static_cast<int>(smooth.size()) < kReads && missed < kReads) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        const std::uint64_t stamps = out.Sounding().Stamps();
        const double now = out.StreamClock();
        const double heard = audio.SoundingTime();
        const double written = audio.OutputTime();
        const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
        while (out.Sounding().Stamps() == stamps && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        const SoundingClock::Mark next = out.Sounding().Latest();
        if (out.Sounding().Stamps() == stamps || next.heardAt < now) {
            ++missed;
            continue;
        }
        const double reference =
            (static_cast<double>(next.frame) - (next.heardAt - now) * kRate) / kRate;
        smooth.push_back(std::abs(heard - reference) * 1000.0);
        stepped.push_back(std::abs(written - reference) * 1000.0);
    }
    engine.PlayBar(false, "", 0, 0);
    std::printf("sounding clock bench: %zu reads at random moments of a playing bar",
                smooth.size());
    std::printf(" (%d without a following block)\n", missed);
    if (smooth.empty()) return 0;
    Print("sounding time (displays):", smooth);
    Print("OutputTime (whole blocks):", stepped);
    std::sort(smooth.begin(), smooth.end());
    std::printf("  goal: sounding time within 2 ms: %s\n", smooth.back() < 2.0 ? "met" : "missed");
    return 0;
}
