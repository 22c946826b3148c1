#include "platform/HostWindow.h"
#include "pym/gui/NewListBox.h"
#include "pym/gui/NewScrolledListBox.h"
#include "pym/gui/ScrollText.h"
#include "tests/pym/gui/ScrollFixture.h"
#include "tests/support/SkinLook.h"

using Pym::NewListBox;
using Pym::NewScrolledListBox;

namespace {

constexpr std::uint32_t kOverlay = 0xFF0000FFu;

int KeyCode(Platform::SpecialKey key) {
    return static_cast<int>(Platform::kKeyDownBit | key);
}

using Testing::Look::Brightness;

class ListBoxTest : public Testing::ScrollFixture {
protected:
    // Rows 20 high, white text, an opaque blue overlay on the active row.
    std::string Look() {
        return "ActiveOverlayColor=\"0,0,255,255\" Color=\"255,255,255,255\" "
               "SelectedColor=\"255,255,0,255\" RowHeight=\"20\"";
    }
    std::string Font() {
        return "<Font Family=\"DejaVu Sans\" Size=\"12\" Style=\"Regular\" Conversion=\"Point\"/>";
    }
    // Collects the names the list announces.
    void ListenForChoices(Pym::GuiObject& list) {
        list.ConnectSlot(Pym::Signal::String::Id(), nullptr,
                         [this](Pym::Signal::Base& s, Pym::GuiObject*) {
                             chosen.push_back(static_cast<Pym::Signal::String&>(s).text);
                         });
    }
    std::vector<std::string> chosen;
};

TEST_F(ListBoxTest, AClickOrTheKeysChooseAnEntryAndAnnounceItsName) {
    auto* list =
        Place(Build<NewListBox>("<Pym::NewListBox " + Look() + ">" + Font() +
                                "<Entry Name=\"a\" Text=\"Alpha\"/><Entry Name=\"b\"/>"
                                "<Entry Name=\"c\"/><Entry Name=\"d\"/></Pym::NewListBox>"),
              10, 10, 200, 100);
    ASSERT_NE(list, nullptr);
    ListenForChoices(*list);
    ASSERT_EQ(list->EntryCount(), 4);
    EXPECT_EQ(list->EntryAt(0).text, "Alpha");
    EXPECT_EQ(list->EntryAt(1).text, "b");  // the name stands in for a missing text
    EXPECT_EQ(list->GetActive(), -1);

    // Keys do nothing before the list is selected.
    Key(KeyCode(Platform::KeyDown));
    EXPECT_EQ(list->GetActive(), -1);

    Press(100, 10 + 2 * 20 + 5);
    EXPECT_EQ(list->GetActive(), 2);
    EXPECT_EQ(list->GetActiveName(), "c");
    EXPECT_TRUE(list->IsSelected());
    Key(KeyCode(Platform::KeyDown));
    Key(KeyCode(Platform::KeyDown));  // held at the last entry
    EXPECT_EQ(list->GetActive(), 3);
    Key(KeyCode(Platform::KeyUp));
    Key(KeyCode(Platform::KeyHome));
    Key(KeyCode(Platform::KeyUp));
    Key('x');
    EXPECT_EQ(list->GetActive(), 0);
    Key(KeyCode(Platform::KeyEnd));
    EXPECT_EQ(chosen, (std::vector<std::string>{"c", "d", "d", "c", "a", "a", "d"}));

    // Below the last row there is nothing to choose; from code the choice is silent.
    Press(100, 10 + 90);
    EXPECT_EQ(list->GetActive(), 3);
    list->SetActive(1);
    EXPECT_TRUE(list->SetActiveByName("b"));
    EXPECT_FALSE(list->SetActiveByName("zzz"));
    EXPECT_EQ(list->GetActive(), -1);
    list->AddEntry("e", "Echo");
    list->SetActive(4);
    EXPECT_EQ(chosen.size(), 7u);
    list->Clear();
    EXPECT_EQ(list->GetActive(), -1);
    EXPECT_EQ(list->EntryCount(), 0);

    EXPECT_THROW(Build("<Pym::NewListBox>" + Font() + "</Pym::NewListBox>"),
                 Pym::XMLLoadSaveException);
}

TEST_F(ListBoxTest, TheActiveRowIsCoveredWithTheOverlay) {
    auto* list = Place(Build<NewListBox>("<Pym::NewListBox " + Look() + ">" + Font() +
                                         "<Entry Name=\"One\"/><Entry Name=\"Two\"/>"
                                         "<Entry Name=\"Three\"/></Pym::NewListBox>"),
                       10, 10, 200, 100);
    ASSERT_NE(list, nullptr);
    list->SetActive(1);
    Testing::Canvas canvas(220, 120);
    list->Draw(canvas.context);
    // Row 1 is y 30..49 on the canvas.
    EXPECT_EQ(canvas.At(180, 40), kOverlay);
    EXPECT_EQ(canvas.At(11, 31), kOverlay);
    EXPECT_EQ(canvas.At(209, 49), kOverlay);
    EXPECT_NE(canvas.At(180, 29), kOverlay);
    EXPECT_NE(canvas.At(180, 50), kOverlay);
    // The other rows show their text in the text colour on nothing.
    int brightest = 0;
    for (int x = 10; x < 80; ++x)
        for (int y = 10; y < 30; ++y) brightest = std::max(brightest, Brightness(canvas.At(x, y)));
    EXPECT_GT(brightest, 3 * 200);
    EXPECT_EQ(canvas.At(180, 20), 0u);
}

TEST_F(ListBoxTest, ScrolledListKeepsTheActiveRowInView) {
    auto* box = Place(
        Build<NewScrolledListBox>("<Pym::NewScrolledListBox ScrollBars=\"Vertical\" "
                                  "InterBarSpacer=\"4\" " +
                                  Look() + "><ScrollBarY SmallAxisSize=\"12\">" + ScrollBarXml() +
                                  "</ScrollBarY>" + Font() + "</Pym::NewScrolledListBox>"),
        0, 0, 200, 100);
    ASSERT_NE(box, nullptr);
    ListenForChoices(box->List());
    for (int i = 0; i < 20; ++i) box->AddEntry("entry" + std::to_string(i));
    EXPECT_EQ(box->List().GetRect(), (Pym::GuiObject::Rect{0, 0, 184, 400}));
    EXPECT_FLOAT_EQ(box->BarY()->GetScrollObject()->BarShare(), 0.25f);

    Press(50, 30);
    EXPECT_EQ(box->GetActive(), 1);
    for (int i = 0; i < 9; ++i) Key(KeyCode(Platform::KeyDown));
    EXPECT_EQ(box->GetActive(), 10);
    EXPECT_EQ(box->ScrollY(), 120);  // row 10 ends at 220, the view's bottom
    EXPECT_GT(box->BarY()->GetScrollObject()->BarPosition(), 0.0f);

    // A click through the scrolled view picks the row under the pointer.
    Press(50, 10);
    EXPECT_EQ(box->GetActive(), 6);
    EXPECT_EQ(chosen.back(), "entry6");
    EXPECT_EQ(box->ScrollY(), 120);

    // The wheel scrolls by rows; Home goes back to the top.
    Wheel(50, 50, -120);
    EXPECT_EQ(box->ScrollY(), 140);
    Key(KeyCode(Platform::KeyHome));
    EXPECT_EQ(box->ScrollY(), 0);

    // Only the rows in view are drawn: 120..220 shows rows 6 to 10.
    box->ScrollTo(0, 120);
    Testing::TextRecordingContext recording;
    box->Draw(recording);
    std::vector<std::string> drawn;
    for (const auto& line : recording.lines) drawn.push_back(line.text);
    EXPECT_EQ(drawn, (std::vector<std::string>{"entry6", "entry7", "entry8", "entry9", "entry10"}));

    // Emptied, it scrolls nowhere.
    box->ScrollTo(0, 300);
    box->Clear();
    EXPECT_EQ(box->ScrollY(), 0);
    EXPECT_FLOAT_EQ(box->BarY()->GetScrollObject()->BarShare(), 1.0f);
}

TEST_F(ListBoxTest, ScrollTextLongerThanItsBoxScrolls) {
    std::string text;
    for (int i = 0; i < 30; ++i) text += "Line " + std::to_string(i) + " of the credits. ";
    auto* scroll =
        Place(Build<Pym::ScrollText>("<Pym::ScrollText Text=\"" + text +
                                     "\" Color=\"255,255,255,255\" ScrollSpeed=\"100\">" + Font() +
                                     "</Pym::ScrollText>"),
              0, 0, 100, 40);
    ASSERT_NE(scroll, nullptr);
    const int range = scroll->Range();
    EXPECT_GT(range, 100);
    EXPECT_EQ(scroll->GetContent()->GetWidth(), 100);

    Wheel(50, 20, -120);
    const int afterNotch = scroll->ScrollY();
    EXPECT_GT(afterNotch, 20);
    Wheel(50, 20, 240);
    EXPECT_EQ(scroll->ScrollY(), 0);

    // It scrolls by itself at its speed, rests at the end, then starts at the top again.
    auto tick = [&](int ms) {
        Pym::Signal::Timer timer(1, ms);
        root->DeliverSignal(timer, true);
    };
    tick(1000);
    tick(1100);
    EXPECT_EQ(scroll->ScrollY(), 10);
    int now = 1100;
    while (scroll->ScrollY() < range && now < 100000) tick(now += 100);
    EXPECT_EQ(scroll->ScrollY(), range);
    tick(now += 1000);
    EXPECT_EQ(scroll->ScrollY(), range);
    tick(now += 1000);
    EXPECT_EQ(scroll->ScrollY(), 0);

    // Short text does not scroll at all.
    scroll->SetText("Short.");
    EXPECT_EQ(scroll->Range(), 0);
    tick(now += 5000);
    EXPECT_EQ(scroll->ScrollY(), 0);

    EXPECT_THROW(
        Build("<Pym::ScrollText Color=\"255,255,255,255\">" + Font() + "</Pym::ScrollText>"),
        Pym::XMLLoadSaveException);
}

}  // namespace
