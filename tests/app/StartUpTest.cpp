#include "app/TunerApp.h"

#include <algorithm>
#include <filesystem>
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

// Each broken part of a skin, however deep, ends the start with status 1 and a report that
// names the part; none gives an empty window that exits with success.
TEST_F(StartUpTest, EveryBrokenPartOfASkinIsReportedAndEndsTheStart) {
    SoundAppearsAtCheck(1);
    const std::string declared =
        "<CreateScreen ScreenName=\"Main\" ObjectName=\"Pym::Screen\" "
        "Filename=\"XML/Screen.xml\"/>";
    const std::string shown =
        "<Connect Signal=\"Pym::Signal::ObjectReady\" "
        "SignalObject=\"MetronomeApp\" ScreenSlot=\"Main\"/>";
    const std::string odd = Place("Odd", "0", "0", "1", "1", "<Test::NoSuchType/>");
    Write("XML/A.xml", "<Pym::GridLayout BaseXML=\"XML/B.xml\"/>");
    Write("XML/B.xml", "<Pym::GridLayout BaseXML=\"XML/A.xml\"/>");
    Write("XML/Plain.xml", "<Pym::GridLayout/>");
    const std::string plain = "<Pym::GridLayout BaseXML=\"XML/Plain.xml\"";
    struct Case {
        std::string size, inner, screen, expected;
    };
    const std::vector<Case> cases = {
        {"", declared + shown, "<Pym::Screen><Open></Pym::Screen>",
         "XML/Screen.xml is malformed: "},
        {"", declared + shown, "", "XML/Screen.xml is missing"},
        {"", declared, "<Pym::Screen>" + odd + "</Pym::Screen>",
         "Failed to create object of type Test::NoSuchType"},
        // A base inherited again, this time with a broken child of the inheriting element.
        {"", declared,
         "<Pym::Screen>" + plain + "/>" + plain + ">" + odd + "</Pym::GridLayout></Pym::Screen>",
         "Failed to create object of type Test::NoSuchType"},
        {"", shown, "", "ScreenSlot Main names no declared screen"},
        {"Width=\"1e30\" Height=\"200\"", "", "", "Width=\"1e30\" is not a size from 1 to"},
        {"Width=\"nan\" Height=\"200\"", "", "", "Width=\"nan\" is not a size"},
        {"Width=\"wide\" Height=\"200\"", "", "", "Width=\"wide\" is not a size"},
        {"Width=\"300\" Height=\"-480\"", "", "", "Height=\"-480\" is not a size"},
        {"", Place("Odd", "0", "0", "1", "1", "<Test::Odd BaseXML=\"default\"/>"), "",
         "asks for the default of Test::Odd, a type with no default document"},
        {"", Place("Loop", "0", "0", "1", "1", "<Pym::GridLayout BaseXML=\"XML/A.xml\"/>"), "",
         "XML/A.xml inherits from itself (a BaseXML cycle)"},
    };
    for (const Case& broken : cases) {
        Write("XML/Metronome.xml",
              "<Skin><MetronomeApp " +
                  (broken.size.empty() ? "Width=\"300\" Height=\"200\"" : broken.size) + ">" +
                  broken.inner + "</MetronomeApp></Skin>");
        std::filesystem::remove(dir.Path() / "XML/Screen.xml");
        if (!broken.screen.empty()) Write("XML/Screen.xml", broken.screen);
        EXPECT_EQ(Run(), 1) << broken.expected;
        EXPECT_NE(errors.find(broken.expected), std::string::npos) << errors;
    }
    // The application document itself, with the parser's position.
    Write("XML/Metronome.xml", "<Skin>\n<MetronomeApp Width=\"300\">\n</Skin>");
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(errors.find("XML/Metronome.xml is malformed: "), std::string::npos) << errors;
    EXPECT_NE(errors.find("at line 3"), std::string::npos) << errors;
    EXPECT_TRUE(host.Windows().empty());
}

// A picture that cannot be read leaves a hole, said once however often it is drawn.
TEST_F(StartUpTest, AMissingPictureIsReportedOnce) {
    WriteApplication(
        Place("Hole", "0", "0.2", "1", "0.8", "<Pym::Image ImageFile=\"images/none.svg\"/>") +
        Place("Again", "0", "0.5", "1", "0.5", "<Pym::Image ImageFile=\"images/none.svg\"/>"));
    SoundAppearsAtCheck(1);
    CloseMainWindow();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(std::count_if(traces.begin(), traces.end(),
                            [](const std::string& text) {
                                return text.find("images/none.svg cannot be read") !=
                                       std::string::npos;
                            }),
              1);
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
