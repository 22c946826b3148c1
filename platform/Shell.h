#pragma once

#include <string>

namespace Platform {

// Opens a file in the user's desktop application for it, as a file manager would.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // `verb` is "open" or "edit"; false when nothing was started.
    virtual bool Open(const std::string& file, const std::string& verb) = 0;
};

// The desktop's opener: starts xdg-open with the path as its one argument, never through a
// shell command line, and does not wait for it.
class XdgShellOpener : public ShellOpener {
public:
    bool Open(const std::string& file, const std::string& verb) override;
};

// The opener the program uses. Tests install a double so that no editor ever opens.
ShellOpener& Shell();
// Installs an opener (null restores the desktop's) and returns the previous one.
ShellOpener* SetShell(ShellOpener* opener);

}  // namespace Platform
