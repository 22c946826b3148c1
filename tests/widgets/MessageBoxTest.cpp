#include "widgets/MessageBoxA.h"

#include <gtest/gtest.h>

#include "pym/gui/GridLayout.h"
#include "pym/gui/ImageButton.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/Text.h"
#include "tests/app/AppSkinFixture.h"

using Pym::MessageBoxA;

namespace {

class MessageBoxTest : public Testing::AppSkinFixture {
protected:
    MessageBoxA* Box() {
        TiXmlElement* root = loader.GetRootElement("XML/Main/MessageBox.xml");
        EXPECT_NE(root, nullptr);
        box = Pym::CreateNamedObject(root->ValueStr(), "Box", nullptr, root);
        return dynamic_cast<MessageBoxA*>(box.get());
    }
    struct Placed {
        std::string caption;
        float centre, width;
    };
    std::vector<Placed> Placement(MessageBoxA& shown) {
        auto* container = Find<Pym::GridLayout>(&shown, "ButtonContainer");
        std::vector<Placed> placed;
        for (Pym::GuiObject* button : shown.Buttons()) {
            const auto& layout = container->GetLayoutMap().at(button);
            placed.push_back({button->GetName(),
                              layout->xPos.percentage + layout->width.percentage / 2,
                              layout->width.percentage});
            EXPECT_FLOAT_EQ(layout->yPos.percentage, 0.0f);
            EXPECT_FLOAT_EQ(layout->height.percentage, 1.0f);
        }
        return placed;
    }

    Pym::XMLLoadSave loader;
    std::unique_ptr<Pym::GuiObject> box;
};

TEST_F(MessageBoxTest, CaptionListsSplitAtCommasAndQuotesAndDropBlankParts) {
    using Captions = std::vector<std::string>;
    EXPECT_EQ(MessageBoxA::SplitCaptions("RETRY, CANCEL"), (Captions{"RETRY", "CANCEL"}));
    EXPECT_EQ(MessageBoxA::SplitCaptions("A,  ,B"), (Captions{"A", "B"}));
    EXPECT_EQ(MessageBoxA::SplitCaptions("\"Yes\",\"No way\""), (Captions{"Yes", "No way"}));
    EXPECT_EQ(MessageBoxA::SplitCaptions(" , ,,"), Captions{});
    EXPECT_EQ(MessageBoxA::SplitCaptions(""), Captions{});
}

TEST_F(MessageBoxTest, ButtonsAreSpacedEvenlyAcrossTheRow) {
    MessageBoxA* shown = Box();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->MaxButtons(), 4);
    EXPECT_EQ(shown->ButtonTemplate(), "XML/Main/Button.xml");

    // No captions: one OK in the middle, a quarter of the row wide.
    shown->SetMessage("Ready?", "");
    std::vector<Placed> placed = Placement(*shown);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].caption, "OK");
    EXPECT_NEAR(placed[0].centre - placed[0].width / 2, 0.5 - 0.125, 1e-6);
    EXPECT_NEAR(placed[0].width, 0.25, 1e-6);
    EXPECT_EQ(Find<Pym::Text>(shown, "Message")->GetText(), "Ready?");
    EXPECT_NE(dynamic_cast<Pym::ImageButton*>(shown->Buttons()[0]), nullptr);

    // A new question replaces the buttons of the last one.
    shown->SetMessage("Three", "A, B ,C");
    placed = Placement(*shown);
    ASSERT_EQ(placed.size(), 3u);
    auto* container = Find<Pym::GridLayout>(shown, "ButtonContainer");
    EXPECT_EQ(container->GetLayoutMap().size(), 3u);
    EXPECT_EQ(container->Children().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(placed[i].caption, std::string(1, static_cast<char>('A' + i)));
        EXPECT_NEAR(placed[i].centre, 0.25 * (i + 1), 1e-6);
        EXPECT_NEAR(placed[i].width, 0.25, 1e-6);
    }
    // The pixels follow: the middle button of a 420-pixel row.
    EXPECT_NEAR(shown->Buttons()[1]->GetX(), 420 * 0.375, 1);
    EXPECT_NEAR(shown->Buttons()[1]->GetWidth(), 105, 1);

    // More captions than the row is meant for: each takes its share.
    shown->SetMessage("Six", "1,2,3,4,5,6");
    placed = Placement(*shown);
    ASSERT_EQ(placed.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(placed[i].centre, (i + 1) / 7.0, 1e-6);
        EXPECT_NEAR(placed[i].width, 1 / 6.0, 1e-6);
    }
}

TEST_F(MessageBoxTest, MaxButtonsSetsTheWidthOfOneButton) {
    WriteMessageBox("MaxButtons=\"2\"");
    MessageBoxA* shown = Box();
    ASSERT_NE(shown, nullptr);
    shown->SetMessage("One", "Only");
    std::vector<Placed> placed = Placement(*shown);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_NEAR(placed[0].centre, 0.5, 1e-6);
    EXPECT_NEAR(placed[0].width, 0.5, 1e-6);
}

TEST_F(MessageBoxTest, PressedButtonAnswersItsCaptionAndOtherClosesAnswerNothing) {
    bool shownWhileRunning = false;
    host.Post([&] {
        MessageBoxA* shown = MessageBoxA::Showing();
        ASSERT_NE(shown, nullptr);
        shownWhileRunning = shown->IsVisible();
        EXPECT_EQ(Find<Pym::Text>(shown, "Message")->GetText(), "Save?");
        ASSERT_EQ(shown->Buttons().size(), 3u);
        Click(*shown->Buttons()[1]);
    });
    EXPECT_EQ(Pym::RunMessageBox("Save?", "Yes, No, Later"), "No");
    EXPECT_TRUE(shownWhileRunning);
    EXPECT_EQ(MessageBoxA::Showing(), nullptr);
    // The box and its window are gone with the question.
    EXPECT_TRUE(host.Windows().empty());

    // The window manager's close button: no answer.
    host.Post([&] { host.Last()->Inject(Platform::HostEvent::Type::CloseRequest); });
    EXPECT_EQ(Pym::RunMessageBox("Save?", "Yes, No"), "");

    // A press on the row but beside the buttons answers nothing either: the question stays.
    host.Post([&] {
        MessageBoxA* shown = MessageBoxA::Showing();
        ASSERT_NE(shown, nullptr);
        Testing::OffscreenWindow* window = host.Last();
        window->Inject(Platform::HostEvent::Type::MouseMove, 5, 190);
        window->Inject(Platform::HostEvent::Type::LeftDown, 5, 190);
        window->Inject(Platform::HostEvent::Type::LeftUp, 5, 190);
        EXPECT_TRUE(shown->IsModal());
        Click(*shown->Buttons()[0]);
    });
    EXPECT_EQ(Pym::RunMessageBox("Fine", ""), "OK");
}

TEST_F(MessageBoxTest, MissingPartsOfTheSkinAreReportedAndThrown) {
    Write("XML/Main/MessageBox.xml",
          "<MessageBoxA ObjectXML=\"XML/Main/Button.xml\" Width=\"100\" Height=\"50\">" +
              Place("Message", "0", "0", "1", "1", Text("")) + "</MessageBoxA>");
    EXPECT_THROW(Pym::RunMessageBox("Where?", "A"), Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("ButtonContainer"));

    Write("XML/Main/MessageBox.xml", "<MessageBoxA Width=\"100\" Height=\"50\"/>");
    Pym::DllDocMapInstance().ResetSearchPath();
    EXPECT_THROW(Pym::RunMessageBox("Where?", "A"), Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("ObjectXML"));
}

}  // namespace
