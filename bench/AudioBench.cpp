// Rendering and callback costs of the metronome's audio, on the virtual device. Prints
// numbers; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "audio/AudioSystem.h"
#include "audio/BarBuffer.h"
#include "audio/VirtualStreamBackend.h"
#include "metronome/ClickSynthesis.h"
#include "metronome/PlaybackEngine.h"
#include "metronome/RecordBuffer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Microseconds per run, median of `runs`.
double TimeMicros(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return Median(times);
}

void BenchBuildBar() {
    BarBuffer bar;
    double at114 = TimeMicros(50, [&] { BuildBar(bar, 114, 4, ToneClick(440), ToneClick(880)); });
    double at10 = TimeMicros(10, [&] { BuildBar(bar, 10, 8, ToneClick(440), ToneClick(880)); });
    std::printf("BuildBar 114 BPM, 4 beats:  %8.3f ms (goal < 2 ms)\n", at114 / 1000);
    std::printf("BuildBar  10 BPM, 8 beats:  %8.3f ms\n", at10 / 1000);
}

void BenchCallbacks() {
    // Outlives the AudioSystem, which is destroyed at exit.
    static VirtualStreamBackend& device = *new VirtualStreamBackend();
    UseStreamBackend(&device);
    std::vector<float> input(512, 0.1f), output(512);
    const int runs = 20000;
    {
        WaveOut out(44100, 92788, true, device);
        BarBuffer bar;
        BuildBar(bar, 114, 4, ToneClick(440), ToneClick(880));
        out.SetCallback(&BarCallback, &bar);
        out.Start(true);
        double looped = TimeMicros(
            runs, [&] { device.OutputStream()->ClockInto(512, nullptr, output.data()); });
        out.Stop();
        out.OpenDefault(44100, 512);
        out.SetCallback(&BarCallback, &bar);
        out.Start(false);
        double copied = TimeMicros(
            runs, [&] { device.OutputStream()->ClockInto(512, nullptr, output.data()); });
        out.Close();
        std::printf("Looped bar, per 512 frames:            %8.3f us\n", looped);
        std::printf("BarCallback copy, per 512 frames:      %8.3f us\n", copied);
    }
    {
        AudioSystem& audio = DllAudioSystemInstance();
        RecordBuffer& record = DllRecordBufferInstance();
        record.Clear();
        audio.RestartInput(44100, 512, RecordingInput(record, audio));
        double recording =
            TimeMicros(runs, [&] { device.InputStream()->ClockInto(512, input.data(), nullptr); });
        audio.RestoreInputAnalysis();
        double analysing =
            TimeMicros(runs, [&] { device.InputStream()->ClockInto(512, input.data(), nullptr); });
        audio.RestartOutput(44100, 512, &RecordingLoopCallback, &record);
        double replaying = TimeMicros(
            runs, [&] { device.OutputStream()->ClockInto(512, nullptr, output.data()); });
        audio.StopInput();
        audio.StopOutput();
        std::printf("RecordingInput + input path, 512:      %8.3f us\n", recording);
        std::printf("Input path (ProcessInput), 512:        %8.3f us\n", analysing);
        std::printf("RecordingLoopCallback, 512:            %8.3f us\n", replaying);
    }
}

}  // namespace

int main() {
    BenchBuildBar();
    BenchCallbacks();
    return 0;
}
