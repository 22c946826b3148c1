#include "pym/gui/ImageButton.h"

#include "pym/core/DocMap.h"
#include "pym/core/Signals.h"
#include "pym/gui/ToggleButton.h"
#include "tests/pym/gui/WidgetFixture.h"

using Pym::ImageButton;
using Pym::ToggleButton;

namespace {

class ButtonTest : public Testing::WidgetFixture {
protected:
    std::string Slot(const std::string& tag, const std::string& picture) {
        return "<" + tag + "><Pym::Image ImageFile=\"" + picture + "\"/></" + tag + ">";
    }
    // Where a picture was drawn: the colour at a point of a fresh canvas.
    std::uint32_t Drawn(Pym::GuiObject& object, int x, int y) {
        Testing::Canvas canvas(40, 40);
        object.Draw(canvas.context);
        return canvas.At(x, y);
    }
};

constexpr std::uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

TEST_F(ButtonTest, ImageButtonShowsOnePictureForItsStateAndIsHitOnlyWhereItIsDrawn) {
    EXPECT_EQ(Pym::DllDocMapInstance().GetDefaultXml("Pym::ImageButton"),
              "$PYM/Objects/ImageButton/ImageButton.xml");
    auto* button = Build<ImageButton>(
        "<Pym::ImageButton>" + Slot("UnSelected", Picture("red", "#ff0000", true)) +
        Slot("MouseOver", Picture("green", "#00ff00")) +
        Slot("Selected", Picture("blue", "#0000ff")) + "</Pym::ImageButton>");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->IsLoaded());
    EXPECT_EQ(button->GetNotSelectable(), 0);
    EXPECT_EQ(button->Children().size(), 3u);
    button->Resize(20, 20);
    button->Relayout();
    EXPECT_EQ(button->UnselectedPicture()->GetWidth(), 20);

    EXPECT_EQ(Drawn(*button, 5, 5), kRed);
    EXPECT_EQ(button->PictureForState(), button->UnselectedPicture());
    EXPECT_FALSE(button->MouseOverPicture()->IsVisible());
    // The red picture covers only the left half: the right half is not the button.
    EXPECT_TRUE(button->HitTestLocal(5, 5));
    EXPECT_FALSE(button->HitTestLocal(15, 5));
    EXPECT_FALSE(button->HitTestLocal(25, 5));

    button->SetForceSelected(true);
    EXPECT_EQ(Drawn(*button, 15, 5), kGreen);
    EXPECT_TRUE(button->HitTestLocal(15, 5));
    button->SetMouseOver(true);  // hovering wins over being selected
    EXPECT_EQ(Drawn(*button, 15, 5), kBlue);
    EXPECT_TRUE(button->SelectedPicture()->IsVisible());
    EXPECT_FALSE(button->UnselectedPicture()->IsVisible());

    // A click reaches the skin's slots as Activate.
    int activations = 0;
    button->ConnectSlot(Pym::Signal::Activate::Id(), nullptr,
                        [&](Pym::Signal::Base&, Pym::GuiObject*) { ++activations; });
    Pym::Signal::LeftButtonUp up(5, 5);
    button->OnLeftButtonUp(up);
    EXPECT_EQ(activations, 1);
}

TEST_F(ButtonTest, ImageButtonWithoutAllThreePicturesHoldsNone) {
    traces.clear();
    EXPECT_EQ(Build("<Pym::ImageButton>" + Slot("UnSelected", Picture("red", "#ff0000")) +
                    Slot("Selected", Picture("blue", "#0000ff")) + "</Pym::ImageButton>"),
              nullptr);
    EXPECT_TRUE(TracedContaining("needs Selected, UnSelected and MouseOver"));
    // A picture that cannot be built counts as missing.
    EXPECT_EQ(Build("<Pym::ImageButton>" + Slot("UnSelected", Picture("red", "#ff0000")) +
                    Slot("MouseOver", "images/none.png") +
                    Slot("Selected", Picture("blue", "#0000ff")) + "</Pym::ImageButton>"),
              nullptr);
}

TEST_F(ButtonTest, ToggleButtonFlipsBetweenItsPictures) {
    EXPECT_EQ(Pym::DllDocMapInstance().GetDefaultXml("Pym::ToggleButton"),
              "$PYM/Objects/ToggleButton/ToggleButton.xml");
    const std::string pictures =
        Slot("Up", Picture("up", "#ff0000")) + Slot("Down", Picture("down", "#0000ff"));
    auto* up = Build<ToggleButton>("<Pym::ToggleButton ButtonState=\"1\">" + pictures +
                                   "</Pym::ToggleButton>");
    auto* down = Build<ToggleButton>("<Pym::ToggleButton ButtonState=\"0\">" + pictures +
                                     "</Pym::ToggleButton>");
    ASSERT_NE(up, nullptr);
    ASSERT_NE(down, nullptr);
    EXPECT_FALSE(up->IsDown());
    EXPECT_TRUE(up->UpPicture()->IsVisible());
    EXPECT_FALSE(up->DownPicture()->IsVisible());
    EXPECT_TRUE(down->IsDown());
    EXPECT_TRUE(down->DownPicture()->IsVisible());

    up->Resize(20, 20);
    EXPECT_EQ(up->UpPicture()->GetWidth(), 20);
    EXPECT_EQ(up->DownPicture()->GetHeight(), 20);
    EXPECT_EQ(Drawn(*up, 10, 10), kRed);

    // A click flips it before the skin's own slot hears of it.
    std::vector<bool> seen;
    up->ConnectSlot(Pym::Signal::Activate::Id(), nullptr,
                    [&](Pym::Signal::Base&, Pym::GuiObject*) { seen.push_back(up->IsDown()); });
    up->SetMouseOver(true);
    Pym::Signal::LeftButtonUp click(10, 10);
    up->OnLeftButtonUp(click);
    EXPECT_EQ(seen, std::vector<bool>{true});
    EXPECT_TRUE(up->IsDown());
    EXPECT_FALSE(up->WasDown());
    EXPECT_EQ(Drawn(*up, 10, 10), kBlue);

    // The slot the skin connects by name flips it back.
    Pym::SlotCall toggle = Pym::DllGlobalObjectFactoryInstance().MakeSlot(
        "Pym::ToggleButton::SlotToggle", up, Pym::Signal::Activate::Id());
    ASSERT_TRUE(toggle);
    Pym::Signal::Activate activate;
    toggle(activate, up);
    EXPECT_FALSE(up->IsDown());
    EXPECT_TRUE(up->WasDown());
    EXPECT_EQ(Drawn(*up, 10, 10), kRed);
}

TEST_F(ButtonTest, ToggleButtonWithoutItsPicturesIsASkinError) {
    EXPECT_THROW(Build("<Pym::ToggleButton>" + Slot("Up", Picture("up", "#ff0000")) +
                       "</Pym::ToggleButton>"),
                 Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Attribute = Down"));
    EXPECT_THROW(Build("<Pym::ToggleButton>" + Slot("Up", "images/none.png") +
                       Slot("Down", Picture("down", "#0000ff")) + "</Pym::ToggleButton>"),
                 Pym::XMLLoadSaveException);
}

}  // namespace
