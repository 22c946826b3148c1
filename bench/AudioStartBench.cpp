// Time from PlayBar to the first samples handed to the real sound device. Prints numbers;
// asserts nothing. Needs a sound device: run it in the rig for a virtual one.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "audio/AudioSystem.h"
#include "audio/PortAudioBackend.h"
#include "metronome/PlaybackEngine.h"
#include "settings/AppSettings.h"

namespace {

using Clock = std::chrono::steady_clock;

// Wraps the real device and notes when a stream first hands samples to it.
class FirstSampleBackend : public StreamBackend {
public:
    explicit FirstSampleBackend(StreamBackend& real) : real_(real) {}
    int Initialize() override { return real_.Initialize(); }
    int Terminate() override { return real_.Terminate(); }
    int Open(const StreamParameters& p, DeviceClient& client,
             std::unique_ptr<DeviceStream>& stream) override {
        spy_.target = &client;
        return real_.Open(p, spy_, stream);
    }
    void Arm() {
        spy_.first = Clock::time_point{};
        spy_.seen = false;
    }
    bool Seen() const { return spy_.seen.load(); }
    Clock::time_point First() const { return spy_.first; }

private:
    struct Spy : DeviceClient {
        int Process(const float* in, float* out, unsigned long frames, double heardAt) override {
            int result = target->Process(in, out, frames, heardAt);
            if (out && !seen.load()) {
                first = Clock::now();
                seen = true;
            }
            return result;
        }
        DeviceClient* target = nullptr;
        Clock::time_point first;
        std::atomic<bool> seen{false};
    };
    StreamBackend& real_;
    Spy spy_;
};

}  // namespace

int main() {
    // Outlives the audio singleton, whose streams close on it at exit.
    static FirstSampleBackend backend(DllPortAudioBackendInstance());
    UseStreamBackend(&backend);
    AudioSystem& audio = DllAudioSystemInstance();
    DllAppSettingsInstance().desiredFrequency = 440;
    // As the program does once its window shows.
    audio.PrepareDevices();
    TonePlaybackControls controls;
    PlaybackEngine engine(controls);
    std::vector<double> times;
    for (int run = 0; run < 8; ++run) {
        backend.Arm();
        auto start = Clock::now();
        engine.PlayBar(true, "", 114, 4);
        if (audio.Output().LastError() != 0) {
            std::printf("PlayBar to first sample: no sound device (error %d)\n",
                        audio.Output().LastError());
            return 0;
        }
        while (!backend.Seen() && Clock::now() - start < std::chrono::seconds(2))
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        if (backend.Seen())
            times.push_back(
                std::chrono::duration<double, std::milli>(backend.First() - start).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        engine.PlayBar(false, "", 114, 4);
    }
    if (times.empty()) {
        std::printf("PlayBar to first sample: the device never asked for samples\n");
        return 0;
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "PlayBar to first sample (real device, %zu starts): median %.2f ms, max %.2f ms"
        " (goal < 20 ms)\n",
        times.size(), times[times.size() / 2], times.back());
    return 0;
}
