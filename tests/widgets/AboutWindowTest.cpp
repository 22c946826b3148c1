#include "widgets/AboutWindow.h"

#include <gtest/gtest.h>

#include "platform/Shell.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/Text.h"
#include "settings/AppSettings.h"
#include "tests/app/AppSkinFixture.h"
#include "tests/support/RecordingShell.h"
#include "widgets/MessageBoxA.h"

namespace {

// An opener that never manages to start anything.
class FailingShell : public Platform::ShellOpener {
public:
    bool Open(const std::string& file, const std::string& verb) override {
        tried.emplace_back(file, verb);
        return false;
    }
    std::vector<std::pair<std::string, std::string>> tried;
};

class AboutWindowTest : public Testing::AppSkinFixture {
protected:
    AboutWindow* About(const std::string& help, const std::string& license = "") {
        Write("XML/About.xml", "<AboutWindow Width=\"300\" Height=\"200\">" +
                                   Place("Version", "0", "0", "1", "0.5", Text("Version")) +
                                   "<Help Data=\"" + help + "\"/><License Data=\"" + license +
                                   "\"/></AboutWindow>");
        TiXmlElement* root = loader.GetRootElement("XML/About.xml");
        EXPECT_NE(root, nullptr);
        about = Pym::CreateNamedObject(root->ValueStr(), "About", nullptr, root);
        return dynamic_cast<AboutWindow*>(about.get());
    }
    // Answers the next message box with its only button, keeping what it said.
    void AnswerNextQuestion() {
        host.Post([this] {
            Pym::MessageBoxA* box = Pym::MessageBoxA::Showing();
            ASSERT_NE(box, nullptr);
            said.push_back(Find<Pym::Text>(box, "Message")->GetText());
            ASSERT_EQ(box->Buttons().size(), 1u);
            EXPECT_EQ(box->Buttons()[0]->GetName(), "OK");
            Click(*box->Buttons()[0]);
        });
    }

    Pym::XMLLoadSave loader;
    std::unique_ptr<Pym::GuiObject> about;
    std::vector<std::string> said;
};

TEST_F(AboutWindowTest, ShowsTheSkinsVersionTextWithTheProgramsVersion) {
    auto& factory = Pym::DllGlobalObjectFactoryInstance();
    EXPECT_TRUE(factory.IsRegistered("AboutWindow"));
    EXPECT_TRUE(factory.IsRegistered("MessageBoxA"));
    for (const char* slot : {"AboutWindow::CloseClickedSlot", "AboutWindow::HelpActiveSlot",
                             "AboutWindow::LicenseActiveSlot", "MessageBox::ButtonClickedSlot"})
        EXPECT_TRUE(factory.HasSlot(slot)) << slot;

    AboutWindow* window = About("docs/help.html");
    ASSERT_NE(window, nullptr);
    const std::string& version = DllAppSettingsInstance().version;
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(Find<Pym::Text>(window, "Version")->GetText(), "Version v" + version);

    bool closedDuringRun = false;
    host.Post([&] {
        Pym::Signal::Activate click;
        window->CloseClickedSlot(click);
        closedDuringRun = !window->IsModal();
    });
    window->DoModal();
    EXPECT_TRUE(closedDuringRun);
}

TEST_F(AboutWindowTest, HelpAndLicenseOpenTheirDocumentsOrSayWhyNot) {
    AboutWindow* window = About("docs/help.html", "");
    ASSERT_NE(window, nullptr);
    Pym::Signal::Activate click;
    window->HelpActiveSlot(click);
    ASSERT_EQ(Testing::TestShell().opened.size(), 1u);
    EXPECT_EQ(Testing::TestShell().opened[0].first, "docs/help.html");
    EXPECT_EQ(Testing::TestShell().opened[0].second, "open");

    // No document named: the user is told, and nothing is started.
    AnswerNextQuestion();
    window->LicenseActiveSlot(click);
    EXPECT_EQ(said, std::vector<std::string>{"No help file available"});
    EXPECT_EQ(Testing::TestShell().opened.size(), 1u);

    // The desktop could not open it.
    FailingShell failing;
    Platform::ShellOpener* previous = Platform::SetShell(&failing);
    AnswerNextQuestion();
    window->HelpActiveSlot(click);
    Platform::SetShell(previous);
    ASSERT_EQ(failing.tried.size(), 1u);
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[1], "error: docs/help.html - Could not start - unknown error?!");
}

TEST_F(AboutWindowTest, MissingDocumentElementIsASkinError) {
    Write("XML/About.xml", "<AboutWindow Width=\"300\" Height=\"200\">" +
                               Place("Version", "0", "0", "1", "1", Text("Version")) +
                               "</AboutWindow>");
    TiXmlElement* root = loader.GetRootElement("XML/About.xml");
    about = Pym::CreateNamedObject(root->ValueStr(), "About", nullptr, root);
    auto* window = dynamic_cast<AboutWindow*>(about.get());
    ASSERT_NE(window, nullptr);
    Pym::Signal::Activate click;
    EXPECT_THROW(window->HelpActiveSlot(click), Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Help"));
    EXPECT_TRUE(Testing::TestShell().opened.empty());
}

}  // namespace
