// The application's drop-down lists and menu buttons, as a screen controller uses them.
#include <gtest/gtest.h>

#include "pym/core/DocMap.h"
#include "pym/gui/ImageButton.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/Text.h"
#include "tests/app/AppSkinFixture.h"
#include "tests/pym/gui/Swatch.h"
#include "widgets/ComboBox.h"
#include "widgets/MenuButton.h"

using namespace Pym;

namespace {

class ComboBoxTest : public Testing::AppSkinFixture {
protected:
    void SetUp() override {
        AppSkinFixture::SetUp();
        Write("XML/Entry.xml", "<Test::Swatch Colour=\"40,44,54,255\"/>");
    }
    void TearDown() override {
        windows.clear();
        AppSkinFixture::TearDown();
    }

    // A main window of 300 x 200 whose "Sounds" combo is half its height, with an entry height
    // of 0.08 of it.
    ComboBox* Combo(const std::string& comboAttributes =
                        "ObjectXML=\"XML/Entry.xml\" "
                        "EntryHeight=\"0.08\"",
                    const std::string& content = "") {
        const std::string background =
            "<Pym::Image Name=\"Background\" ImageFile=\"images/button.svg\" XPos=\"0\" "
            "YPos=\"0\" Width=\"1\" Height=\"1\"/>";
        Write("XML/Main.xml",
              "<Pym::Window XPos=\"10\" YPos=\"20\" Width=\"300\" Height=\"200\">" +
                  Place("Sounds", "20px", "30px", "100px", "0.5",
                        "<ComboBox " + comboAttributes + ">" + background + "</ComboBox>") +
                  content + "</Pym::Window>");
        TiXmlElement* root = loader.GetRootElement("XML/Main.xml");
        windows.emplace_back(CreateNamedObject("Pym::Window", "Main", nullptr, root));
        host.Pump();
        main = windows.back().get();
        return dynamic_cast<ComboBox*>(FindObject(main, "Sounds"));
    }

    Testing::OffscreenHost host;
    XMLLoadSave loader;
    std::vector<std::unique_ptr<GuiObject>> windows;
    GuiObject* main = nullptr;
};

TEST_F(ComboBoxTest, NamesBecomeEqualRowsInOrderAndAChoiceCallsTheHandler) {
    ComboBox* combo = Combo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->EntryDocument(), "XML/Entry.xml");
    EXPECT_FLOAT_EQ(combo->EntryHeight(), 0.08f);
    ASSERT_NE(combo->Background(), nullptr);
    EXPECT_EQ(combo->GetHeight(), 100);

    ComboPopulator populator;
    for (const char* name : {"Click", "Wood", "Bell", "Voice"}) populator.Append(name);
    combo->Populate(populator);
    ASSERT_EQ(populator.entries.size(), 4u);
    ASSERT_EQ(populator.elements.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        GuiObject* entry = populator.entries[i].get();
        EXPECT_EQ(entry->GetName(), populator.Names()[i]);
        EXPECT_STREQ(populator.elements[i]->Attribute("Name"), populator.Names()[i].c_str());
        EXPECT_EQ(entry->GetRect(), (GuiObject::Rect{0, 25 * i, 100, 25}));
    }
    // Drawn over the background, which fills the list.
    ASSERT_EQ(combo->Children().size(), 5u);
    EXPECT_EQ(combo->Children().front(), combo->Background());
    EXPECT_EQ(combo->Background()->GetRect(), (GuiObject::Rect{0, 0, 100, 100}));

    std::vector<std::string> chosen;
    combo->ConnectChoice([&chosen](const std::string& name) { chosen.push_back(name); });
    combo->TogglePopup();
    ASSERT_TRUE(combo->IsVisible());
    Signal::Activate activate;
    combo->Background()->SendSignalToSelf(activate);
    EXPECT_EQ(chosen, std::vector<std::string>{"Background"});
    EXPECT_TRUE(combo->IsVisible());  // the background is no choice
    populator.entries[2]->SendSignalToSelf(activate);
    EXPECT_EQ(chosen, (std::vector<std::string>{"Background", "Bell"}));
    EXPECT_FALSE(combo->IsVisible());  // a row chosen closes the list

    // The keyboard walks the rows and chooses with Enter.
    combo->TogglePopup();
    combo->SelectFirstEntry();
    EXPECT_TRUE(populator.entries[0]->IsSelected());
    ASSERT_TRUE(combo->ActivateSelectedEntry());
    EXPECT_EQ(chosen.back(), "Click");

    // Populated again, the list shows the new names only, and the old rows' documents go with
    // the last share of the rows.
    const std::size_t loaded = DllDocMapInstance().DocumentCount();
    ComboPopulator fewer;
    fewer.Append("Beep");
    combo->Populate(fewer);
    EXPECT_EQ(combo->Children().size(), 2u);
    EXPECT_EQ(combo->Entries().size(), 1u);
    EXPECT_EQ(fewer.entries[0]->GetRect(), (GuiObject::Rect{0, 0, 100, combo->GetHeight()}));
    populator = ComboPopulator();
    EXPECT_EQ(DllDocMapInstance().DocumentCount(), loaded - 3);
}

TEST_F(ComboBoxTest, TogglingSizesTheListToItsRowsInItsParent) {
    ComboBox* combo = Combo();
    ASSERT_NE(combo, nullptr);
    ComboPopulator populator;
    for (const char* name : {"A", "B", "C", "D"}) populator.Append(name);
    combo->Populate(populator);
    combo->TogglePopup();
    // Five children (four rows and the background) of 0.08 each: 0.4 of the window's 200.
    EXPECT_TRUE(combo->IsVisible());
    EXPECT_EQ(combo->GetHeight(), 80);
    EXPECT_EQ(combo->GetWidth(), 100);
    EXPECT_EQ(populator.entries[3]->GetRect(), (GuiObject::Rect{0, 60, 100, 20}));
    auto* parent = dynamic_cast<GridLayout*>(combo->GetParent());
    ASSERT_NE(parent, nullptr);
    const LayoutObject& place = *parent->GetLayoutMap().at(combo);
    EXPECT_FLOAT_EQ(place.height.percentage, 0.4f);
    EXPECT_FLOAT_EQ(place.height.units, 0.0f);
    EXPECT_FLOAT_EQ(place.xPos.units, 20.0f);
    // Where the skin put it, relative to the main window at (10, 20).
    EXPECT_EQ(combo->PopupX(), 20);
    EXPECT_EQ(combo->PopupY(), 30);
    combo->TogglePopup();
    EXPECT_FALSE(combo->IsVisible());
}

TEST_F(ComboBoxTest, AnEmptyPopulatorLeavesOnlyTheBackgroundAndAnEmptyButtonText) {
    const std::string state =
        "<Pym::Text Text=\"\" Stretchable=\"0\" Color=\"232,234,240,255\" "
        "SelectedColor=\"255,138,61,255\"><Font Family=\"DejaVu Sans\" "
        "Size=\"12\" Style=\"Regular\" Conversion=\"Point\"/></Pym::Text>";
    const std::string button =
        "<MenuButton>" + Place("Button", "0", "0", "1", "1", "<Test::Swatch/>") +
        Place("ButtonText", "0", "0", "1", "1",
              "<Pym::ImageButton><Selected>" + state + "</Selected><UnSelected>" + state +
                  "</UnSelected><MouseOver>" + state + "</MouseOver></Pym::ImageButton>") +
        "</MenuButton>";
    ComboBox* combo = Combo("ObjectXML=\"XML/Entry.xml\" EntryHeight=\"0.08\"",
                            Place("SoundButton", "150px", "30px", "100px", "30px", button));
    ASSERT_NE(combo, nullptr);
    auto* menuButton = dynamic_cast<MenuButton*>(FindObject(main, "SoundButton"));
    ASSERT_NE(menuButton, nullptr);
    // Until a controller sets a choice, it shows its name.
    EXPECT_EQ(menuButton->GetText(), "SoundButton");

    // The controller's order: names, the first as the text (empty: none), populate, connect.
    ComboPopulator populator;
    menuButton->SetText(populator.Names().empty() ? "" : populator.Names().front());
    combo->Populate(populator);
    std::vector<std::string> chosen;
    combo->ConnectChoice([&chosen](const std::string& name) { chosen.push_back(name); });
    EXPECT_EQ(menuButton->GetText(), "");
    for (GuiObject* state : {menuButton->ButtonText()->SelectedPicture(),
                             menuButton->ButtonText()->UnselectedPicture(),
                             menuButton->ButtonText()->MouseOverPicture()})
        EXPECT_EQ(dynamic_cast<Pym::Text*>(state)->GetText(), "");
    EXPECT_TRUE(populator.entries.empty());
    ASSERT_EQ(combo->Children().size(), 1u);
    EXPECT_EQ(combo->Children().front(), combo->Background());
    combo->TogglePopup();
    EXPECT_EQ(combo->GetHeight(), 16);  // one child of 0.08 of 200
    Signal::Activate activate;
    combo->Background()->SendSignalToSelf(activate);
    EXPECT_EQ(chosen, std::vector<std::string>{"Background"});
}

TEST_F(ComboBoxTest, AComboWithoutItsDocumentOrHeightIsNotBuilt) {
    EXPECT_THROW(Combo("EntryHeight=\"0.1\""), XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("ObjectXML"));
    EXPECT_THROW(Combo("ObjectXML=\"XML/Entry.xml\""), XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("EntryHeight"));
}

// Menu buttons made in code around their two children.
class MenuButtonFamilyTest : public Testing::AppSkinFixture {
protected:
    template <class T>
    T* Make(const std::string& type, const std::string& children) {
        Write("XML/Button" + std::to_string(made.size()) + ".xml",
              "<" + type + ">" + children + "</" + type + ">");
        TiXmlElement* root =
            loader.GetRootElement("XML/Button" + std::to_string(made.size()) + ".xml");
        made.emplace_back(
            CreateNamedObject(type, "Accent" + std::to_string(made.size()), nullptr, root));
        auto* button = dynamic_cast<T*>(made.back().get());
        if (button) button->Resize(120, 30);
        if (button) button->Relayout();
        return button;
    }
    std::string Children() const {
        const std::string state = Text("");
        // Both in the right half: only the menu button's own selection can select them when
        // it is selected from its top left corner.
        return Place("Button", "0.5", "0", "0.5", "1", "<Test::Swatch/>") +
               Place("ButtonText", "0.5", "0", "0.5", "1",
                     "<Pym::ImageButton><Selected>" + state + "</Selected><UnSelected>" + state +
                         "</UnSelected><MouseOver>" + state + "</MouseOver></Pym::ImageButton>");
    }
    static std::vector<std::string> States(MenuButton& button) {
        std::vector<std::string> texts;
        for (GuiObject* state :
             {button.ButtonText()->SelectedPicture(), button.ButtonText()->UnselectedPicture(),
              button.ButtonText()->MouseOverPicture()})
            texts.push_back(dynamic_cast<Pym::Text*>(state)->GetText());
        return texts;
    }

    XMLLoadSave loader;
    std::vector<std::unique_ptr<GuiObject>> made;
};

TEST(AppTypesTest, DropDownsAndMenuButtonsAreRegisteredWithoutTemplates) {
    for (const char* type : {"ComboBox", "MenuButton", "ComboMenuButton", "FocusMenuButton"}) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(DllGlobalObjectFactoryInstance().IsRegistered(type));
        EXPECT_EQ(DllDocMapInstance().GetDefaultXml(type), "");
    }
}

TEST_F(MenuButtonFamilyTest, TextGoesToAllStatesAndSelectionToBothChildren) {
    auto* button = Make<MenuButton>("MenuButton", Children());
    ASSERT_NE(button, nullptr);
    ASSERT_NE(button->Button(), nullptr);
    ASSERT_NE(button->ButtonText(), nullptr);
    EXPECT_EQ(States(*button), std::vector<std::string>(3, "Accent0"));
    int started = 0;
    button->ConnectSlot(Signal::MenuButtonStartAnimation::Id(), nullptr,
                        [&started](Signal::Base&, GuiObject*) { ++started; });
    button->SetText("3/4");
    EXPECT_EQ(States(*button), std::vector<std::string>(3, "3/4"));
    EXPECT_EQ(button->GetText(), "3/4");
    EXPECT_EQ(started, 1);
    button->SetText("3/4");  // no change, no animation
    EXPECT_EQ(started, 1);

    // Selected, it selects its picture and its text with it; deselected, both follow.
    button->Select();
    EXPECT_TRUE(button->IsSelected());
    EXPECT_TRUE(button->Button()->IsSelected());
    EXPECT_TRUE(button->ButtonText()->IsSelected());
    // Another object was selected somewhere else.
    Signal::SelectObject elsewhere(500, 500, nullptr);
    elsewhere.selectPass = 0;
    button->DeliverSignal(elsewhere, true);
    EXPECT_FALSE(button->IsSelected());
    EXPECT_FALSE(button->Button()->IsSelected());
    EXPECT_FALSE(button->ButtonText()->IsSelected());
}

TEST_F(MenuButtonFamilyTest, ComboAndFocusButtonsDifferInLooksAndWhenTheyAnimate) {
    auto* combo = Make<ComboMenuButton>("ComboMenuButton", Children());
    auto* focus = Make<FocusMenuButton>("FocusMenuButton", Children());
    ASSERT_TRUE(combo && focus);
    for (GuiObject* state :
         {combo->ButtonText()->SelectedPicture(), combo->ButtonText()->UnselectedPicture(),
          combo->ButtonText()->MouseOverPicture()})
        EXPECT_EQ(dynamic_cast<Pym::Text*>(state)->GetAlignment(), Pym::Text::Centered);
    EXPECT_EQ(dynamic_cast<Pym::Text*>(focus->ButtonText()->SelectedPicture())->GetAlignment(),
              Pym::Text::Left);

    int comboStarted = 0, focusStarted = 0;
    combo->ConnectSlot(Signal::ComboMenuButtonStartAnimation::Id(), nullptr,
                       [&](Signal::Base&, GuiObject*) { ++comboStarted; });
    focus->ConnectSlot(Signal::FocusMenuButtonStartAnimation::Id(), nullptr,
                       [&](Signal::Base&, GuiObject*) { ++focusStarted; });
    combo->SetText("Wood");
    focus->SetText("Wood");
    EXPECT_EQ(comboStarted, 1);
    EXPECT_EQ(focusStarted, 0);
    EXPECT_EQ(focus->GetText(), "Wood");
    focus->Select();
    EXPECT_EQ(focusStarted, 1);
    EXPECT_TRUE(focus->ButtonText()->IsSelected());

    // A focus button takes its place from its parent again when the window is resized.
    auto parent = std::make_unique<GridLayout>();
    parent->Resize(400, 100);
    parent->AddChildAtFractions(focus, 0.5f, 0.0f, 0.25f, 1.0f);
    EXPECT_EQ(focus->GetRect(), (GuiObject::Rect{200, 0, 100, 100}));
    focus->Move(0, 0);
    Signal::WindowSized sized(400, 100);
    focus->OnWindowSized(sized);
    EXPECT_EQ(focus->GetRect(), (GuiObject::Rect{200, 0, 100, 100}));
}

TEST_F(MenuButtonFamilyTest, MissingChildrenAreNamedInAWarning) {
    auto* button = Make<MenuButton>("MenuButton", "");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(Traced("Warning: GetXMLObject: Failed to find object named Button"));
    EXPECT_TRUE(Traced("Warning: GetXMLObject: Failed to find object named ButtonText"));
    button->SetText("Anything");
    EXPECT_EQ(button->GetText(), "");
    button->Select();
    EXPECT_TRUE(button->IsSelected());
}

}  // namespace
