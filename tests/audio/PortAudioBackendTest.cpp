// The real PortAudio backend on a machine without a sound device: the sound server is
// pointed at a socket that does not exist, so ALSA's default device is absent.
#include "audio/PortAudioBackend.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <alsa/asoundlib.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "audio/AlsaDiagnostics.h"
#include "audio/SoundDeviceCheck.h"
#include "audio/Wave.h"
#include "pym/base/Trace.h"
#include "tests/support/TempDir.h"

namespace {

// Sends standard error to a file for the lifetime of the object.
class CapturedStandardError {
public:
    explicit CapturedStandardError(const std::string& path) {
        fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, STDERR_FILENO);
        close(fd);
    }
    ~CapturedStandardError() {
        fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }

private:
    int saved_;
};

int Silence(void*, void* output, unsigned long frames, double, void*) {
    for (unsigned long i = 0; i < frames; ++i) static_cast<float*>(output)[i] = 0.0f;
    return 0;
}

TEST(PortAudioBackendTest, WithoutASoundDeviceErrorsAreStoredAndTheTerminalStaysQuiet) {
    setenv("PULSE_SERVER", "unix:/nonexistent", 1);
    Testing::TempDir dir;
    std::string errors = (dir.Path() / "stderr.txt").string();
    std::vector<std::string> traces;
    Pym::ScopedTraceHook hook([&traces](const std::string& text) { traces.push_back(text); });
    int outError = 0, inError = 0, startError = 0;
    bool active = true;
    {
        CapturedStandardError capture(errors);
        PortAudioBackend& backend = DllPortAudioBackendInstance();
        WaveOut out(44100, 512, true, backend);
        WaveIn in(44100, 512, true, backend);
        outError = out.LastError();
        inError = in.LastError();
        out.SetCallback(&Silence, nullptr);
        startError = out.Start(true);
        active = out.IsActive();
        out.Stop();
        out.Close();
    }
    EXPECT_NE(outError, 0);
    EXPECT_NE(inError, 0);
    EXPECT_NE(startError, 0);
    EXPECT_FALSE(active);
    std::string printed = Testing::ReadFile(errors);
    EXPECT_EQ(printed.find("ALSA lib"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("jack"), std::string::npos) << printed;
    EXPECT_EQ(printed, "");
    // ALSA's complaints about the missing card went to the trace hook instead.
    bool alsaTraced = false;
    for (const std::string& t : traces) alsaTraced = alsaTraced || t.rfind("ALSA lib", 0) == 0;
    EXPECT_TRUE(alsaTraced);
}

TEST(PortAudioBackendTest, ComplaintsOnADeviceThreadAreTracedOnlyWhenReported) {
    std::vector<std::string> traces;
    Pym::ScopedTraceHook hook([&traces](const std::string& text) { traces.push_back(text); });
    RouteAlsaMessagesToTrace();
    std::thread device([] {
        snd_lib_error("pcm.c", 8570, "snd_pcm_recover", 0, "%s occurred", "underrun");
        snd_lib_error("pcm.c", 1, "f", -EPIPE, "%d of %lu, %q %s", -3, 7ul, "kept");
    });
    device.join();
    EXPECT_TRUE(traces.empty());
    EXPECT_EQ(ReportAlsaMessages(), 2);
    std::sort(traces.begin(), traces.end());
    EXPECT_EQ(traces, (std::vector<std::string>{
                          "ALSA lib pcm.c:1:(f) -3 of 7, %q %s: Broken pipe (on the audio thread)",
                          "ALSA lib pcm.c:8570:(snd_pcm_recover) underrun occurred (on the audio "
                          "thread)"}));
    EXPECT_EQ(ReportAlsaMessages(), 0);
}

TEST(PortAudioBackendTest, SoundDeviceCheckSaysNoQuietlyWithoutADevice) {
    setenv("PULSE_SERVER", "unix:/nonexistent", 1);
    Testing::TempDir dir;
    std::string errors = (dir.Path() / "stderr.txt").string();
    Pym::ScopedTraceHook hook([](const std::string&) {});
    bool found = true;
    {
        CapturedStandardError capture(errors);
        found = HasSoundDevice(0) || HasSoundDevice(7);
    }
    EXPECT_FALSE(found);
    EXPECT_EQ(Testing::ReadFile(errors), "");
}

}  // namespace
