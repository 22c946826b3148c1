#pragma once

#include <functional>
#include <optional>
#include <string>

// Commands that a part linked into the program offers on the command line ("--export ..."),
// run instead of the window. The part registers them with a static object, as screens
// register with the object factory, so the start-up code never includes the part.
namespace CommandLineCommands {

// Enters the skin named by --skin (or found as the program finds it); false, having said
// why, when there is none.
using SkinEntry = std::function<bool(const std::optional<std::string>& skinOption)>;
// Runs the command on the whole command line; the result is the program's exit status.
using Command = std::function<int(int argc, char** argv, const SkinEntry& enterSkin)>;

// Offers `command` for the option `option`.
void Register(const std::string& option, Command command);
// The command whose option is on the command line, or null.
const Command* Find(int argc, char** argv);

// Takes "--skin DIR" or "--skin=DIR" at argv[i] into `skin`, leaving `i` on the last word
// taken. False for anything else, a "--skin" with no folder after it too.
bool TakeSkinOption(int argc, char** argv, int& i, std::optional<std::string>& skin);

}  // namespace CommandLineCommands
