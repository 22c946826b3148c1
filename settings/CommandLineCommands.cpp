#include "settings/CommandLineCommands.h"

#include <cstring>
#include <map>

namespace CommandLineCommands {

namespace {
// Built on first use: registrations run during static initialisation.
std::map<std::string, Command>& Commands() {
    static std::map<std::string, Command> commands;
    return commands;
}
}  // namespace

void Register(const std::string& option, Command command) {
    Commands()[option] = std::move(command);
}

const Command* Find(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        auto found = Commands().find(argv[i]);
        if (found != Commands().end()) return &found->second;
    }
    return nullptr;
}

bool TakeSkinOption(int argc, char** argv, int& i, std::optional<std::string>& skin) {
    if (std::strcmp(argv[i], "--skin") == 0 && i + 1 < argc) {
        skin = argv[++i];
        return true;
    }
    if (std::strncmp(argv[i], "--skin=", 7) == 0) {
        skin = argv[i] + 7;
        return true;
    }
    return false;
}

}  // namespace CommandLineCommands
