#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "app/Application.h"
#include "pym/core/XMLLoadSave.h"

namespace Pym {
class AppWindow;
}

// Ondrel Metronome's application: starts the framework, makes sure there is a sound device
// (asking the user to retry while there is none), and runs the skin's main window until it
// is closed.
class CTunerApp : public Application, public Pym::XMLLoadSave {
public:
    using SoundCheck = std::function<bool(int mixerId)>;

    static constexpr const char* kApplicationDocument = "XML/Metronome.xml";
    static constexpr const char* kMainWindowElement = "MetronomeApp";
    static constexpr const char* kRegistryKey = "Ondrel Metronome";
    static constexpr const char* kNoSoundDevice =
        "CRITICAL PROBLEM: No sound card has been detected!";
    static constexpr const char* kNoSoundButtons = "RETRY, CANCEL";
    static constexpr const char* kRetry = "RETRY";

    CTunerApp();

    // Runs the program: 0 when it ends normally or the user gives up at the sound question,
    // 1 when the skin is broken (the last diagnostic goes to standard error).
    int InitInstance() override;

    // Asks in the message box, with no window behind it; the caption of the answer.
    std::string ShowMessage(const std::string& text, const std::string& buttons);

    // The screen shown once the main window runs, instead of the one the skin shows first.
    void SetStartScreen(std::string name) { startScreen_ = std::move(name); }

    // The check for a sound device; the real one asks ALSA.
    void SetSoundCheck(SoundCheck check) { soundCheck_ = std::move(check); }

    // Callable from any thread: ends the program as closing its main window does. A question
    // on the screen is closed unanswered; a main window not yet running never runs.
    void RequestQuit();
    bool QuitRequested() const { return quitRequested_; }

    // The window running modally on the program's behalf (a message box, else the main
    // window), or null. For the GUI thread only.
    Pym::Window* RunningWindow() const;

private:
    bool AwaitSoundDevice();
    bool HasSound();
    void RunMainWindow(TiXmlElement* root);
    // The main window's side, when the skin gives it, is a whole number of pixels: throws
    // otherwise.
    static void CheckMainWindowSide(const TiXmlElement* element, const std::string& name);
    void CentreOnMonitor(Pym::AppWindow& window);
    void CloseRunningWindow();
    void WatchMixer();

    SoundCheck soundCheck_;
    std::atomic<bool> quitRequested_{false};
    std::atomic<bool> hostReady_{false};
    Pym::Window* running_ = nullptr;  // the main window while it runs
    std::string startScreen_;
    int mixerWatch_ = 0;
};
