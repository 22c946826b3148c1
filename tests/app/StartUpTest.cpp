#include "app/TunerApp.h"

#include <thread>

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"
#include "pym/gui/AppWindow.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/Text.h"
#include "tests/app/AppSkinFixture.h"
#include "widgets/AboutWindow.h"
#include "widgets/MessageBoxA.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

class StartUpTest : public Testing::AppSkinFixture {
protected:
    void WriteApplication(const std::string& inner = "") {
        Write("XML/Metronome.xml", "<Skin><MetronomeApp Width=\"300\" Height=\"200\">" +
                                       Place("Title", "0", "0", "1", "0.2", Text("Ondrel")) +
                                       inner + "</MetronomeApp></Skin>");
    }
    // A machine whose sound device appears at the check numbered `appearsAt` (never for 0).
    void SoundAppearsAtCheck(int appearsAt) {
        app.SetSoundCheck([this, appearsAt](int mixerId) {
            mixerIds.push_back(mixerId);
            return appearsAt > 0 && static_cast<int>(mixerIds.size()) >= appearsAt;
        });
    }
    // Answers the sound question on the screen with one of its buttons.
    void Answer(const std::string& caption) {
        host.Post([this, caption] {
            Pym::MessageBoxA* box = Pym::MessageBoxA::Showing();
            ASSERT_NE(box, nullptr);
            asked.push_back(Find<Pym::Text>(box, "Message")->GetText());
            for (Pym::GuiObject* button : box->Buttons())
                if (button->GetName() == caption) Click(*button);
        });
    }
    // Closes the main window once it runs, noting what it was.
    void CloseMainWindow() {
        host.Post([this] {
            auto* window = dynamic_cast<Pym::AppWindow*>(app.RunningWindow());
            ASSERT_NE(window, nullptr);
            ASSERT_EQ(window, app.MainWindow());
            mainWindowAt = {window->GetX(), window->GetY(), window->GetWidth(),
                            window->GetHeight()};
            mainWindowShown = window->IsVisible();
            window->Close();
        });
    }
    int Run() {
        CaptureStderr();
        const int status = app.InitInstance();
        errors = GetCapturedStderr();
        return status;
    }

    CTunerApp app;
    std::vector<int> mixerIds;
    std::vector<std::string> asked;
    Platform::HostRect mainWindowAt{-1, -1, -1, -1};
    bool mainWindowShown = false;
    std::string errors;
};

TEST_F(StartUpTest, WithASoundDeviceTheMainWindowRunsCentredUntilClosed) {
    WriteApplication();
    SoundAppearsAtCheck(1);
    CloseMainWindow();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(mixerIds, std::vector<int>{0});
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(mainWindowShown);
    // The in-memory monitor is 1920 x 1080.
    EXPECT_EQ(mainWindowAt, (Platform::HostRect{810, 440, 300, 200}));
    EXPECT_EQ(Platform::Profile().RegistryKey(), "Ondrel Metronome");
    EXPECT_EQ(app.MainWindow(), nullptr);
    EXPECT_TRUE(host.Windows().empty());
    EXPECT_EQ(errors, "");
}

TEST_F(StartUpTest, RetryAsksAgainUntilADeviceAppears) {
    WriteApplication();
    SoundAppearsAtCheck(3);
    Answer("RETRY");
    Answer("RETRY");
    CloseMainWindow();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(mixerIds, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(asked,
              (std::vector<std::string>(2, "CRITICAL PROBLEM: No sound card has been detected!")));
    EXPECT_TRUE(mainWindowShown);
}

TEST_F(StartUpTest, CancelOrAnUnansweredQuestionEndsWithoutTheMainWindow) {
    // No application document: had start-up gone on, it would have ended as a broken skin.
    SoundAppearsAtCheck(0);
    Answer("CANCEL");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(mixerIds.size(), 1u);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(errors, "");

    host.Post([this] { host.Last()->Inject(Platform::HostEvent::Type::CloseRequest); });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(mixerIds.size(), 2u);
    EXPECT_TRUE(host.Windows().empty());
}

TEST_F(StartUpTest, BrokenSkinsEndWithTheLastDiagnosticAndStatusOne) {
    SoundAppearsAtCheck(1);
    // No application document.
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(errors.find("XML/Metronome.xml"), std::string::npos) << errors;

    // A document without the main window.
    Write("XML/Metronome.xml", "<Skin><Other/></Skin>");
    Pym::DllDocMapInstance().ResetSearchPath();
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(errors.find("MetronomeApp"), std::string::npos) << errors;

    // A main window naming a type nobody registered.
    WriteApplication(Place("Odd", "0", "0.5", "1", "0.5", "<Test::NoSuchType/>"));
    Pym::DllDocMapInstance().ResetSearchPath();
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(errors.find("Failed to create object of type Test::NoSuchType"), std::string::npos)
        << errors;
    EXPECT_TRUE(host.Windows().empty());
    EXPECT_EQ(mixerIds.size(), 3u);
}

TEST_F(StartUpTest, QuitFromAnotherThreadEndsTheRunAsClosingDoes) {
    WriteApplication();
    SoundAppearsAtCheck(1);
    bool running = false;
    host.Post([&] {
        running = app.RunningWindow() == app.MainWindow() && app.MainWindow();
        std::thread([this] { app.RequestQuit(); }).join();
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(running);
    EXPECT_TRUE(app.QuitRequested());
    EXPECT_TRUE(host.Windows().empty());
}

TEST_F(StartUpTest, QuitWhileTheAboutWindowRunsOverTheMainWindowEndsBoth) {
    WriteApplication();
    Write("XML/About.xml", "<AboutWindow Width=\"200\" Height=\"100\">" +
                               Place("Version", "0", "0", "1", "1", Text("Version")) +
                               "</AboutWindow>");
    SoundAppearsAtCheck(1);
    bool aboutRan = false, aboutClosed = false;
    host.Post([&] {
        Pym::XMLLoadSave loader;
        TiXmlElement* root = loader.GetRootElement("XML/About.xml");
        std::unique_ptr<Pym::GuiObject> about(
            Pym::CreateNamedObject(root->ValueStr(), "About", nullptr, root));
        auto* window = dynamic_cast<AboutWindow*>(about.get());
        ASSERT_NE(window, nullptr);
        window->ConnectSlot(Pym::Signal::WindowClose::Id(), nullptr,
                            [&](Pym::Signal::Base&, Pym::GuiObject*) { aboutClosed = true; });
        host.Post([&] {
            EXPECT_EQ(AboutWindow::Showing(), window);
            std::thread([this] { app.RequestQuit(); }).join();
        });
        window->DoModal(app.MainWindow());
        aboutRan = true;
        EXPECT_EQ(AboutWindow::Showing(), nullptr);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(aboutRan);
    EXPECT_TRUE(aboutClosed);
    EXPECT_TRUE(host.Windows().empty());
}

TEST_F(StartUpTest, QuitDuringTheSoundQuestionEndsWithoutTheMainWindow) {
    WriteApplication();
    SoundAppearsAtCheck(2);
    host.Post([&] {
        ASSERT_NE(Pym::MessageBoxA::Showing(), nullptr);
        std::thread([this] { app.RequestQuit(); }).join();
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(mixerIds.size(), 1u);
    EXPECT_EQ(app.MainWindow(), nullptr);
    EXPECT_TRUE(host.Windows().empty());
}

}  // namespace
