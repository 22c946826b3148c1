#include "platform/Shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace Platform {

namespace {

ShellOpener* current = nullptr;

XdgShellOpener& DesktopOpener() {
    static XdgShellOpener* opener = new XdgShellOpener();  // lives to the very end
    return *opener;
}

}  // namespace

bool XdgShellOpener::Open(const std::string& file, const std::string& /*verb*/) {
    // xdg-open has no verbs: the desktop's application for the file type both shows and edits.
    std::error_code error;
    if (file.empty() || !std::filesystem::exists(file, error)) return false;
    std::string path = std::filesystem::absolute(file, error).string();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);

    std::string program = "xdg-open";
    std::vector<char*> argv = {program.data(), path.data(), nullptr};
    pid_t child = 0;
    int result = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) return false;

    // Reap the child whenever it ends, without holding up the caller.
    std::thread([child] {
        int status = 0;
        waitpid(child, &status, 0);
    }).detach();
    return true;
}

ShellOpener& Shell() {
    return current ? *current : DesktopOpener();
}

ShellOpener* SetShell(ShellOpener* opener) {
    ShellOpener* previous = current ? current : &DesktopOpener();
    current = opener;
    return previous;
}

}  // namespace Platform
