#pragma once

#include <string>

namespace Pym {
class Window;
}

// The program's application object: its whole life passes in InitInstance, whose result is
// the process's exit status. The profile key names the folder of the user's saved settings.
class Application {
public:
    virtual ~Application() = default;

    // Nothing of the desktop needs setting up before the framework on this platform.
    virtual int InitInstance() { return 0; }

    void SetRegistryKey(const std::string& key);
    const std::string& RegistryKey() const;

    // The window whose run is the program's run, while it exists.
    Pym::Window* MainWindow() const { return mainWindow_; }

protected:
    void SetMainWindow(Pym::Window* window) { mainWindow_ = window; }

private:
    Pym::Window* mainWindow_ = nullptr;
};
