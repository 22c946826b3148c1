#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempDir.h"

extern char** environ;

namespace Testing {

// Records the rig's default sink monitor (mono, 16 bit, 44100 Hz) with parec into a file,
// from the moment the first sample has arrived until Stop. A fresh sound server can take
// seconds to deliver that first sample, so the constructor waits for it (at most 10 s).
class MonitorRecording {
public:
    explicit MonitorRecording(std::filesystem::path file) : file_(std::move(file)) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, file_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const char* argv[] = {"parec",        "--raw",        "--format=s16le",
                              "--rate=44100", "--channels=1", "--device=@DEFAULT_MONITOR@",
                              nullptr};
        if (posix_spawnp(&pid_, "parec", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (pid_ > 0 && !Started() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~MonitorRecording() { Stop(); }
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;

    bool Started() const {
        std::error_code error;
        return std::filesystem::file_size(file_, error) > 0 && !error;
    }

    // Ends the recording and returns its samples.
    std::vector<std::int16_t> Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        std::string bytes = ReadFile(file_);
        std::vector<std::int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

private:
    std::filesystem::path file_;
    pid_t pid_ = -1;
};

}  // namespace Testing
