#pragma once

// The default skin's main window built as the program builds it (main window, then the screen
// it shows), on a virtual sound device and an in-memory mixer, for the tests of its screens.
// With ONDREL_SKIN_PNG set to a folder, Render writes what it draws there as PNGs.
#include <cairo.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"
#include "pym/core/Clock.h"
#include "pym/gui/AppWindow.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/Text.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/OffscreenHost.h"
#include "tests/support/VirtualAudio.h"
#include "widgets/MenuButton.h"

namespace Testing {

namespace fs = std::filesystem;
using Type = Platform::HostEvent::Type;

class AppScreenFixture : public WidgetFixture {
protected:
    void SetUp() override {
        WidgetFixture::SetUp();
        device = &Testing::InstallVirtualDevice();
        mixer = &Testing::InstallMemoryMixer();
        UseRealSkin();
        const fs::path skin = fs::path(ONDREL_SOURCE_DIR) / "skin";
        for (const char* folder : {"XML", "sounds"})
            fs::copy(skin / folder, dir.Path() / folder,
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        Platform::Profile().SetRegistryKey("Ondrel Metronome");
        fs::remove(Platform::Profile().FilePath());
    }
    void TearDown() override {
        // What the framework said is the quickest way to a broken skin.
        if (HasFailure())
            for (const std::string& text : traces)
                std::fprintf(stderr, "trace: %s\n", text.c_str());
        window.reset();
        DllAudioSystemInstance().StopOutput();
        WidgetFixture::TearDown();
    }

    // The main window, shown, with the screen it shows at start; then the named screen, when
    // given, as its switch button would show it. The layout of that name on the screen becomes
    // the scope of Widget().
    template <class Layout>
    Layout& OpenWindow(const std::string& layoutName, const std::string& screenName = "") {
        TiXmlElement* root = loader.GetRootElement("XML/Metronome.xml");
        EXPECT_NE(root, nullptr);
        window = std::make_unique<Pym::AppWindow>();
        EXPECT_TRUE(window->Build(loader.GetChildElement(root, "MetronomeApp")));
        // As the window's run starts: shown, connected, ready (which shows the screen).
        window->SetVisible(true);
        Pym::Signal::ConnectXMLSlots connect;
        window->DeliverSignal(connect, true);
        Pym::Signal::ObjectReady ready;
        window->DeliverSignal(ready, true);
        host.Pump();
        if (!screenName.empty()) window->Host()->Screens().ActivateScreen(screenName, true);
        Pym::GuiObject* screen = window->Host()->Screens().Shown();
        auto* found = screen == window.get() ? nullptr : Find<Layout>(screen, layoutName);
        EXPECT_NE(found, nullptr);
        if (!found)
            for (const std::string& text : traces)
                std::fprintf(stderr, "trace: %s\n", text.c_str());
        scope = found;
        return *found;
    }
    void Close() {
        window.reset();
        scope = nullptr;
    }
    template <class T = Pym::GuiObject>
    T* Find(Pym::GuiObject* scope, const std::string& name) {
        return dynamic_cast<T*>(Pym::FindObject(scope, name));
    }
    template <class T = Pym::GuiObject>
    T& Widget(const std::string& name) {
        T* found = Find<T>(scope, name);
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    std::string TextOf(const std::string& name) { return Widget<Pym::Text>(name).GetText(); }
    std::string MenuText(const std::string& name) { return Widget<MenuButton>(name).GetText(); }
    bool Playing() {
        VirtualStream* out = device->OutputStream();
        return out && out->IsActive() == 1;
    }
    // The main window's own (the drop-down lists have windows of their own).
    Testing::OffscreenWindow& Native() {
        return dynamic_cast<Testing::OffscreenWindow&>(window->Host()->Native());
    }
    void Key(unsigned code) {
        Platform::HostEvent event;
        event.type = Type::Character;
        event.code = code;
        Native().Inject(event);
    }
    void Click(Pym::GuiObject& object) {
        const int x = object.GetAbsoluteX() + object.GetWidth() / 2;
        const int y = object.GetAbsoluteY() + object.GetHeight() / 2;
        Native().Inject(Type::MouseMove, x, y);
        Native().Inject(Type::LeftDown, x, y);
        Native().Inject(Type::LeftUp, x, y);
    }
    std::unique_ptr<Testing::Canvas> Render(const std::string& name) {
        // Glides and fades finish as they would on screen before the picture is taken.
        const double later = Pym::ClockSeconds() + 10.0;
        Pym::SetClockSource([later] { return later; });
        Native().Inject(Type::Timer);
        Pym::SetClockSource(nullptr);
        Pym::GuiObject* screen = window->Host()->Screens().Shown();
        auto canvas = std::make_unique<Testing::Canvas>(screen->GetWidth(), screen->GetHeight());
        screen->Draw(canvas->context);
        if (const char* folder = std::getenv("ONDREL_SKIN_PNG"))
            cairo_surface_write_to_png(canvas->buffer->Surface(),
                                       (fs::path(folder) / (name + ".png")).c_str());
        return canvas;
    }

    Testing::OffscreenHost host;
    VirtualStreamBackend* device = nullptr;
    MemoryMixerBackend* mixer = nullptr;
    std::unique_ptr<Pym::AppWindow> window;
    Pym::GuiObject* scope = nullptr;
};

}  // namespace Testing
