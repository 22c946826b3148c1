#include "app/TunerApp.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <vector>

#include "app/HeapUse.h"
#include "audio/AudioSystem.h"
#include "audio/SoundDeviceCheck.h"
#include "platform/HostWindow.h"
#include "pym/base/Singleton.h"
#include "pym/base/Trace.h"
#include "pym/core/AttributeText.h"
#include "pym/core/CoreSingletons.h"
#include "pym/core/DocMap.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gfx/ImageServer.h"
#include "pym/gui/AppWindow.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/TickHook.h"
#include "settings/AppSettings.h"
#include "widgets/AboutWindow.h"
#include "widgets/MessageBoxA.h"

namespace {

// The report of a start that cannot go on: what the failure says about itself.
void ReportBrokenSkin(const std::string& detail) {
    std::fprintf(stderr, "ondrel-metronome: %s\n", detail.c_str());
}

// Traces a report, then ends the start with it.
[[noreturn]] void Fail(const std::string& text) {
    Pym::Trace(text);
    throw Pym::XMLLoadSaveException(text);
}

}  // namespace

CTunerApp::CTunerApp() : soundCheck_(HasSoundDevice) {}

int CTunerApp::InitInstance() {
    Application::InitInstance();
    Pym::DllPymInitInstance();
    Platform::Host();
    hostReady_ = true;
    // The start builds the same templates dozens of times: each file is parsed once for it.
    Pym::DllDocMapInstance().KeepParsedFiles(true);
    try {
        const std::string document = kApplicationDocument;
        SetRegistryKey(kRegistryKey);
        TiXmlElement* root = GetRootElement(document);
        // Reported once the sound question is answered: CANCEL ends the program quietly.
        const std::string documentError =
            root ? std::string() : Pym::DllDocMapInstance().LastError();
        if (!AwaitSoundDevice()) return 0;
        // Named by its full path: which skin was taken is not always plain.
        if (!root)
            Fail("CTunerApp - " + Pym::DllDocMapInstance().ResolvePath(document) + " " +
                 documentError);
        RunMainWindow(root);
        return 0;
    } catch (const Pym::XMLLoadSaveException& error) {
        ReportBrokenSkin(error.Detail().empty() ? error.what() : error.Detail());
    } catch (const std::exception& error) {
        ReportBrokenSkin(error.what());
    } catch (...) {
        ReportBrokenSkin("start-up failed");
    }
    return 1;
}

void CTunerApp::WatchMixer() {
    // Mixer changes made outside the program reach the screens on the GUI thread: when the
    // mixer's descriptors show one, or at the windows' ticks for a mixer that has none.
    auto poll = [] {
        if (AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive()) audio->PollMixer();
    };
    // What the device threads noted (ALSA's messages) is traced at the ticks there are.
    auto report = [] {
        if (AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive()) audio->ReportDiagnostics();
    };
    AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive();
    if (audio && !mixerWatch_) {
        std::vector<Platform::HostSystem::Descriptor> watched;
        for (const pollfd& fd : audio->MixerChangeDescriptors())
            watched.push_back({fd.fd, fd.events});
        if (!watched.empty()) mixerWatch_ = Platform::Host().Watch(watched, poll);
    }
    if (mixerWatch_) {
        Pym::SetTickHook(report);
        return;
    }
    // No audio system yet, or a mixer that cannot be waited for: the ticks ask, and the first
    // tick that finds the audio system made tries the watch again.
    Pym::SetTickHook([this, poll, report, tried = audio != nullptr] {
        poll();
        report();
        if (!tried && Pym::Singleton<AudioSystem>::IfAlive()) WatchMixer();
    });
}

bool CTunerApp::HasSound() {
    DllAppSettingsInstance();
    return soundCheck_(0);
}

bool CTunerApp::AwaitSoundDevice() {
    while (!HasSound()) {
        if (quitRequested_) return false;
        const std::string answer = ShowMessage(kNoSoundDevice, kNoSoundButtons);
        const std::string hostError = Platform::Host().LastError();
        if (answer.empty() && !quitRequested_ && !hostError.empty()) {
            // No answer because the question could not be shown: a failed start, not a CANCEL.
            Fail("CTunerApp - no sound device, and the question cannot be shown: " + hostError);
        }
        if (answer != kRetry) return false;
    }
    return !quitRequested_;
}

std::string CTunerApp::ShowMessage(const std::string& text, const std::string& buttons) {
    return Pym::RunMessageBox(text, buttons);
}

void CTunerApp::RunMainWindow(TiXmlElement* root) {
    TiXmlElement* element = GetChildElement(root, kMainWindowElement);
    CheckMainWindowSide(element, "Width");
    CheckMainWindowSide(element, "Height");
    std::unique_ptr<Pym::AppWindow> window;
    // The device threads call into the screens' objects and into singletons that the exit
    // handlers destroy: whatever ends the run, the streams are closed before any of it goes.
    struct CloseStreams {
        ~CloseStreams() {
            if (AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive()) audio->CloseStreams();
        }
    } closeStreams;
    {
        Pym::CreationWatch watch;
        window = Pym::CreateNamedObjectAs<Pym::AppWindow>("Pym::AppWindow", kMainWindowElement,
                                                          nullptr, element);
        // An object the skin names that cannot be made leaves a window with holes: a broken
        // skin, not a program to run.
        if (watch.Failed()) throw Pym::XMLLoadSaveException(watch.FirstFailure());
        // The report names the cause, not what the skin could not build without a window.
        if (window && !window->Host())
            Fail("CTunerApp - the main window cannot be shown: " + Platform::Host().LastError());
        if (!window) Fail(std::string("CTunerApp - ") + kMainWindowElement + " is not a window");
        // The screens the window declares are part of the skin: a broken one ends the start as
        // a broken main window does (they are still built when first shown).
        window->Host()->Screens().CheckAllScreens();
        if (watch.Failed()) throw Pym::XMLLoadSaveException(watch.FirstFailure());
    }
    SetMainWindow(window.get());
    running_ = window.get();
    // Whatever ends the run, nothing may point at the window once it is gone.
    struct Forget {
        CTunerApp& app;
        ~Forget() {
            app.running_ = nullptr;
            app.SetMainWindow(nullptr);
        }
    } forget{*this};
    CentreOnMonitor(*window);
    // The window's first frame is drawn when it is shown; the sound devices are made ready
    // right after it, not before it, and before the first click of Play.
    Platform::Host().Post([] {
        if (AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive()) audio->PrepareDevices();
        // The start is over: what it freed (the screen check's documents, the devices'
        // listing, the readings of pictures not drawn yet, the parsed skin files) leaves the
        // resident set. Screens built later read their files afresh.
        Pym::DllGfxLayerImageServerInstance().ForgetReadings();
        Pym::DllDocMapInstance().KeepParsedFiles(false);
        HeapUse::EndStart();
    });
    // Once the window is up, so that the watch costs the start nothing.
    Platform::Host().Post([this, shown = window.get()] {
        if (running_ == shown) WatchMixer();
    });
    struct Unwatch {
        CTunerApp& app;
        ~Unwatch() {
            if (app.mixerWatch_) Platform::Host().Unwatch(app.mixerWatch_);
            app.mixerWatch_ = 0;
            Pym::SetTickHook(nullptr);
        }
    } unwatch{*this};
    if (!startScreen_.empty())
        // Once the run has shown the skin's first screen; only while this window runs.
        Platform::Host().Post([this, shown = window.get()] {
            if (running_ == shown && shown->Host())
                shown->Host()->Screens().ActivateScreen(startScreen_, true);
        });
    // A quit asked for while the window was being built ends the run before it starts.
    if (!quitRequested_) window->DoModal(nullptr);
    window->SetVisible(false);
}

void CTunerApp::CheckMainWindowSide(const TiXmlElement* element, const std::string& name) {
    constexpr int kLargestSide = 16384;
    const char* text = element->Attribute(name.c_str());
    if (!text) return;
    // "1e30", "nan" or "-480" would give a window of one pixel that runs as if all were well.
    int side = 0;
    if (!Pym::AttributeText::ParseStrictInt(text, side) || side < 1 || side > kLargestSide)
        ReportXmlError(element, name + "=\"" + text + "\" is not a size from 1 to " +
                                    std::to_string(kLargestSide) + " pixels");
}

void CTunerApp::CentreOnMonitor(Pym::AppWindow& window) {
    const Platform::HostRect monitor = window.Host()->Native().MonitorBounds();
    window.Move(monitor.x + (monitor.width - window.GetWidth()) / 2,
                monitor.y + (monitor.height - window.GetHeight()) / 2);
}

void CTunerApp::RequestQuit() {
    quitRequested_ = true;
    // Before the host exists the flag alone stops start-up at its next step.
    if (hostReady_) Platform::Host().Post([this] { CloseRunningWindow(); });
}

Pym::Window* CTunerApp::RunningWindow() const {
    if (Pym::Window* box = Pym::MessageBoxA::Showing()) return box;
    return running_;
}

void CTunerApp::CloseRunningWindow() {
    // Silence first, as the close button does: the sound never outlives the window.
    if (AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive())
        if (audio->IsOutputActive()) audio->StopOutput();
    // Every run on the screen ends: each one that returns finds the run below it ended too.
    if (Pym::Window* box = Pym::MessageBoxA::Showing()) box->Close();
    if (Pym::Window* about = AboutWindow::Showing()) about->Close();
    if (running_) running_->Close();
}
