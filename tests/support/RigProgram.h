#pragma once

#include <fcntl.h>

#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace Testing {

// The standard output of a command, trimmed of its last newline.
inline std::string Output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
        pclose(pipe);
    }
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

// The first X window with exactly this title, or empty.
inline std::string FindWindow(const std::string& title) {
    return Output("xdotool search --name '^" + title + "$' 2>/dev/null | head -1");
}

// The X window with the title, waited for up to 20 s; empty when it never came.
inline std::string WaitForWindow(const std::string& title) {
    for (int i = 0; i < 200; ++i) {
        std::string id = FindWindow(title);
        if (!id.empty()) return id;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

struct Geometry {
    int x = -1, y = -1, width = 0, height = 0;
};

inline Geometry GeometryOf(const std::string& id) {
    Geometry geometry;
    const std::string text = Output("xdotool getwindowgeometry --shell " + id);
    auto value = [&](const std::string& key) {
        std::size_t at = text.find(key + "=");
        return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size() + 1);
    };
    geometry.x = value("X");
    geometry.y = value("Y");
    geometry.width = value("WIDTH");
    geometry.height = value("HEIGHT");
    return geometry;
}

// A program started with extra environment settings and arguments in a working folder, its
// standard error into `errors` when given; killed at destruction if it is still running.
class RigProgram {
public:
    struct Launch {
        std::string program;
        std::vector<std::string> settings;
        std::vector<std::string> arguments;
        std::filesystem::path directory = "/";
        std::filesystem::path errors = {};
    };

    explicit RigProgram(const Launch& launch) {
        std::vector<std::string> environment = launch.settings;
        // The first of two settings of one name is the one that counts: ours go first.
        for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
        std::vector<char*> envp;
        for (std::string& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);

        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(launch.directory);
        std::string program = launch.program;
        std::vector<std::string> words = launch.arguments;
        std::vector<char*> argv = {program.data()};
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!launch.errors.empty())
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, launch.errors.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        std::filesystem::current_path(previous);
    }

    // The program `path` on the skin in `skin`, started in that folder.
    RigProgram(const std::string& path, const std::filesystem::path& skin,
               const std::vector<std::string>& settings,
               const std::vector<std::string>& arguments = {},
               const std::filesystem::path& errors = {})
        : RigProgram(Launch{path, settings, WithSkin(skin, arguments), skin, errors}) {}

    ~RigProgram() {
        if (pid_ > 0 && !ended_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    RigProgram(const RigProgram&) = delete;
    RigProgram& operator=(const RigProgram&) = delete;

    bool Started() const { return pid_ > 0; }
    void Signal(int signal) { kill(pid_, signal); }
    // The exit status, waited for up to 20 s; -1 when it did not end normally in time.
    int Wait() {
        for (int i = 0; i < 2000; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                ended_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    static std::vector<std::string> WithSkin(const std::filesystem::path& skin,
                                             std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--skin", skin.string()});
        return arguments;
    }

    pid_t pid_ = -1;
    bool ended_ = false;
};

}  // namespace Testing
