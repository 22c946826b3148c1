// The edit box as a user meets it: in a window of the offscreen host, taking clicks and keys
// as the host delivers them, with validators wired by the skin's own "Connect" elements.
#include "pym/gui/EditBox.h"

#include <gtest/gtest.h>

#include "platform/HostWindow.h"
#include "pym/core/ObjectFactory.h"
#include "pym/core/Signals.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/TextValidate.h"
#include "pym/gui/Window.h"
#include "tests/pym/gui/Swatch.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/OffscreenHost.h"

using Pym::EditBox;
using Type = Platform::HostEvent::Type;

namespace {

constexpr unsigned kSpecial = Platform::kKeyDownBit;
constexpr char kCopy = 3, kCut = 24, kPaste = 22, kEnter = 13, kBackspace = 8;

// A box of the test skin at (x, 5), 150 x 30, with the given validators created inside it
// and connected to it by "Connect" elements.
std::string Box(const std::string& name, int x, const std::vector<std::string>& validators = {}) {
    std::string inner;
    for (const std::string& type : validators) {
        const std::string validator = name + "Is" + type;
        inner += "<CreateObject Name=\"" + validator +
                 "\" AddToLayout=\"false\"><Pym::TextValidate::" + type + "/></CreateObject>";
        inner += "<Connect Signal=\"Pym::TextValidate::Validate\" SignalObject=\"" + name +
                 "\" Slot=\"Pym::TextValidate::" + type + "::SlotValidate\" SlotObject=\"" +
                 validator + "\"/>";
    }
    return "<CreateObject Name=\"" + name + "\" XPos=\"" + std::to_string(x) +
           "px\" YPos=\"5px\" Width=\"150px\" Height=\"30px\">"
           "<Pym::EditBox Stretchable=\"0\" Text=\"\" Color=\"200,200,200,255\" "
           "SelectedColor=\"255,138,61,255\">"
           "<Font Family=\"DejaVu Sans\" Size=\"14\" Style=\"Regular\" Conversion=\"Point\"/>" +
           inner + "</Pym::EditBox></CreateObject>";
}

class EditBoxTest : public Testing::WidgetFixture {
protected:
    void SetUp() override {
        WidgetFixture::SetUp();
        Write("XML/Window.xml",
              "<Pym::Window XPos=\"0\" YPos=\"0\" Width=\"700\" Height=\"40\">" + Box("Free", 0) +
                  Box("Whole", 160, {"Int"}) + Box("Real", 320, {"Float"}) +
                  "<CreateObject Name=\"Else\" XPos=\"480px\" YPos=\"0\" Width=\"40px\" "
                  "Height=\"40px\"><Test::Swatch Colour=\"0,0,0\"/></CreateObject></Pym::Window>");
        TiXmlElement* root = loader.GetRootElement("XML/Window.xml");
        ASSERT_NE(root, nullptr);
        window = Pym::CreateNamedObject(root->ValueStr(), "Window", nullptr, root);
        ASSERT_NE(window, nullptr);
        host.Pump();
        for (EditBox* box : {Find("Free"), Find("Whole"), Find("Real")}) {
            ASSERT_NE(box, nullptr);
            box->ConnectSlot(
                Pym::Signal::String::Id(), nullptr,
                [this, box](Pym::Signal::Base& signal, Pym::GuiObject*) {
                    strings.emplace_back(box->GetName() + ":" +
                                         static_cast<Pym::Signal::String&>(signal).text);
                });
            box->ConnectSlot(
                Pym::Signal::EditBoxSignal::Id(), nullptr,
                [this](Pym::Signal::Base& signal, Pym::GuiObject*) {
                    entered.push_back(static_cast<Pym::Signal::EditBoxSignal&>(signal).text);
                });
        }
    }

    EditBox* Find(const std::string& name) {
        return dynamic_cast<EditBox*>(Pym::FindObject(window.get(), name));
    }
    Pym::ScreenManager& Manager() { return *window->FindScreenManager(); }
    Testing::OffscreenWindow& Native() { return *host.Last(); }

    void Click(int x, int y) {
        Native().Inject(Type::LeftDown, x, y);
        Native().Inject(Type::LeftUp, x, y);
    }
    void Click(EditBox& box) { Click(box.GetX() + 5, box.GetY() + 5); }
    void Type(const std::string& keys) {
        for (char key : keys) Press(static_cast<unsigned char>(key));
    }
    void Press(unsigned code) {
        Platform::HostEvent event;
        event.type = (code & kSpecial) ? Type::KeyDown : Type::Character;
        event.code = code;
        Native().Inject(event);
    }
    void Special(unsigned key, bool shift = false) {
        host.shiftDown = shift;
        Press(key | kSpecial);
        host.shiftDown = false;
    }
    // The window as it draws now.
    std::unique_ptr<Testing::Canvas> Drawn() {
        auto canvas = std::make_unique<Testing::Canvas>(window->GetWidth(), window->GetHeight());
        window->Draw(canvas->context);
        return canvas;
    }

    Testing::OffscreenHost host;
    std::unique_ptr<Pym::GuiObject> window;
    std::vector<std::string> strings;
    std::vector<std::string> entered;
};

TEST_F(EditBoxTest, ValidatorsConnectedInTheSkinJudgeEveryTypedCharacter) {
    EXPECT_EQ(Pym::DllDocMapInstance().GetDefaultXml("Pym::EditBox"),
              "$PYM/Objects/EditBox/EditBox.xml");
    EditBox& whole = *Find("Whole");
    Click(whole);
    EXPECT_TRUE(whole.IsEditing());
    EXPECT_TRUE(whole.IsSelected());
    EXPECT_EQ(Manager().Focus(), &whole);

    Type("1a2");
    EXPECT_EQ(whole.GetText(), "12");
    // The refused letter changes nothing but is still announced.
    EXPECT_EQ(strings, (std::vector<std::string>{"Whole:1", "Whole:1", "Whole:12"}));
    // Keys outside the typed set never reach the validators or the text.
    strings.clear();
    Type("-,");
    EXPECT_EQ(whole.GetText(), "12");
    EXPECT_TRUE(strings.empty());

    EditBox& real = *Find("Real");
    Click(real);
    EXPECT_FALSE(whole.IsEditing());
    EXPECT_FALSE(whole.IsSelected());
    Type("1.5.2");
    EXPECT_EQ(real.GetText(), "1.52");
    Type("x");
    EXPECT_EQ(real.GetText(), "1.52");
    EXPECT_EQ(whole.GetText(), "12");
}

TEST_F(EditBoxTest, ValidatorsJudgeTheFirstCharacterOnlyWhileNoneHasRefused) {
    Pym::TextValidate::Int digits;
    Pym::TextValidate::Float number;
    Pym::TextValidate::Validate refused("5", "1.2");
    refused.accepted = false;
    number.SlotValidate(refused);
    digits.SlotValidate(refused);
    EXPECT_FALSE(refused.accepted);
    Pym::TextValidate::Validate nothing("", "1");
    digits.SlotValidate(nothing);
    EXPECT_TRUE(nothing.accepted);
    // A character of another script is no digit, whatever its bytes.
    for (const char* foreign : {"é", "٣", "½"}) {
        Pym::TextValidate::Validate first(foreign, "");
        number.SlotValidate(first);
        EXPECT_FALSE(first.accepted) << foreign;
    }
    // Both refuse for the second point; the integer one for any point.
    Pym::TextValidate::Validate point(".", "3");
    number.SlotValidate(point);
    EXPECT_TRUE(point.accepted);
    digits.SlotValidate(point);
    EXPECT_FALSE(point.accepted);
    // Slots are made for their own class and the validate signal only.
    auto& factory = Pym::DllGlobalObjectFactoryInstance();
    EXPECT_TRUE(factory.MakeSlot("Pym::TextValidate::Int::SlotValidate", &digits,
                                 Pym::TextValidate::Validate::Id()));
    EXPECT_FALSE(factory.MakeSlot("Pym::TextValidate::Int::SlotValidate", &number,
                                  Pym::TextValidate::Validate::Id()));
    EXPECT_FALSE(factory.MakeSlot("Pym::TextValidate::Float::SlotValidate", &number,
                                  Pym::Signal::String::Id()));
    EXPECT_TRUE(digits.GetNotSelectable());
}

TEST_F(EditBoxTest, ShiftMovesSelectAndEditsReplaceTheSelection) {
    EditBox& box = *Find("Free");
    Click(box);
    Type("hello");
    const Pym::EditText& edit = box.Edited();
    EXPECT_EQ(edit.Caret(), 5);

    Special(Platform::KeyHome);
    Special(Platform::KeyLeft, true);  // nothing left of the start
    EXPECT_EQ(edit.Caret(), 0);
    EXPECT_EQ(edit.Anchor(), 0);
    Special(Platform::KeyRight);  // a move without Shift drops the selection
    EXPECT_EQ(edit.Caret(), 1);
    EXPECT_FALSE(edit.HasSelection());

    Special(Platform::KeyEnd);
    Special(Platform::KeyLeft, true);
    Special(Platform::KeyLeft, true);
    EXPECT_EQ(edit.SelectedText(), "lo");
    Type("p");
    EXPECT_EQ(box.GetText(), "help");
    EXPECT_EQ(edit.Caret(), 4);

    Special(Platform::KeyHome, true);  // from the end: everything
    EXPECT_EQ(edit.SelectedText(), "help");
    Special(Platform::KeyRight);
    Special(Platform::KeyEnd, true);
    EXPECT_EQ(edit.SelectedText(), "elp");
    strings.clear();
    Press(kBackspace | kSpecial);  // the key-down half of Backspace does nothing by itself
    EXPECT_TRUE(strings.empty());
    Press(kBackspace);
    EXPECT_EQ(box.GetText(), "h");
    EXPECT_EQ(edit.Caret(), 1);
    Special(Platform::KeyHome);
    Special(Platform::KeyDelete);
    EXPECT_EQ(box.GetText(), "");
    EXPECT_EQ(strings, (std::vector<std::string>{"Free:h", "Free:"}));
    Special(Platform::KeyDelete);  // nothing to delete
    Press(kBackspace);
    EXPECT_EQ(box.GetText(), "");
}

TEST_F(EditBoxTest, CopyCutAndPasteGoThroughTheWindowsClipboard) {
    EditBox& box = *Find("Free");
    Click(box);
    Press(kPaste);  // nothing on the clipboard: nothing happens
    EXPECT_EQ(box.GetText(), "");
    EXPECT_TRUE(strings.empty());

    Type("120 bpm");
    Press(kCopy);  // nothing selected: the clipboard is left alone
    Press(kCut);
    EXPECT_EQ(box.GetText(), "120 bpm");
    std::string clip;
    EXPECT_FALSE(host.GetClipboardText(clip));

    for (int i = 0; i < 3; ++i) Special(Platform::KeyLeft, true);
    Press(kCopy);
    ASSERT_TRUE(host.GetClipboardText(clip));
    EXPECT_EQ(clip, "bpm");
    Press(kCut);
    EXPECT_EQ(box.GetText(), "120 ");
    Special(Platform::KeyHome);
    strings.clear();
    Press(kPaste);
    EXPECT_EQ(box.GetText(), "bpm120 ");
    EXPECT_EQ(box.Edited().Caret(), 3);
    EXPECT_EQ(strings, (std::vector<std::string>{"Free:bpm120 "}));

    // Pasted into a validated box, each character is judged on its own.
    host.SetClipboardText("1a2.5");
    EditBox& whole = *Find("Whole");
    Click(whole);
    Press(kPaste);
    EXPECT_EQ(whole.GetText(), "125");
}

TEST_F(EditBoxTest, PasteOfAnyLengthOrScriptKeepsTheBoxWorking) {
    EditBox& box = *Find("Free");
    Click(box);
    // Characters of several scripts (two, three and four bytes long) stay whole.
    host.SetClipboardText("Tempo ♩ = 120 — Ωμέγα 𝄞");
    Press(kPaste);
    EXPECT_EQ(box.GetText(), "Tempo ♩ = 120 — Ωμέγα 𝄞");
    const Pym::EditText& edit = box.Edited();
    EXPECT_EQ(edit.Length(), 23);
    Press(kBackspace);
    Special(Platform::KeyLeft);
    Special(Platform::KeyLeft);
    Special(Platform::KeyLeft, true);
    EXPECT_EQ(edit.SelectedText(), "γ");
    Press(kCopy);
    std::string clip;
    ASSERT_TRUE(host.GetClipboardText(clip));
    EXPECT_EQ(clip, "γ");
    Press(kBackspace);
    EXPECT_EQ(box.GetText(), "Tempo ♩ = 120 — Ωμέα ");

    // Line breaks and bytes that are no UTF-8 do not make it into a one-line box.
    box.SetText("");
    host.SetClipboardText("12\r\n34\t5\xff");
    Press(kPaste);
    EXPECT_EQ(box.GetText(), "12345\xEF\xBF\xBD");

    // A huge paste fills the box to its limit and is announced once.
    box.SetText("");
    host.SetClipboardText(std::string(200000, '8'));
    strings.clear();
    Press(kPaste);
    EXPECT_EQ(edit.Length(), EditBox::kMaxCharacters);
    EXPECT_EQ(strings.size(), 1u);
    Press(kBackspace);
    Type("7");
    EXPECT_EQ(box.GetText().back(), '7');
    EXPECT_EQ(edit.Length(), EditBox::kMaxCharacters);
    Type("6");  // full
    EXPECT_EQ(box.GetText().back(), '7');
    // The caret is where the user types, even at the end of a text far wider than the box.
    EXPECT_GE(box.CaretX(), 2);
    EXPECT_LE(box.CaretX() + EditBox::kCaretWidth, box.GetWidth() - 2);
    Special(Platform::KeyHome);
    EXPECT_EQ(box.CaretX(), 2 + EditBox::kPadding);
}

TEST_F(EditBoxTest, EnterAnnouncesTheTextAndEndsTheEditing) {
    EditBox& box = *Find("Real");
    Click(box);
    Type("96.5");
    strings.clear();
    Press(kEnter);
    EXPECT_EQ(entered, std::vector<std::string>{"96.5"});
    EXPECT_TRUE(strings.empty());
    EXPECT_FALSE(box.IsEditing());
    EXPECT_EQ(Manager().Focus(), nullptr);
    EXPECT_FALSE(box.IsSelected());
    Type("7");  // no longer the keyboard's target
    EXPECT_EQ(box.GetText(), "96.5");

    // A click elsewhere in the window ends the editing too.
    Click(box);
    EXPECT_TRUE(box.IsEditing());
    Click(500, 20);
    EXPECT_FALSE(box.IsEditing());
    EXPECT_EQ(Manager().Focus(), nullptr);
    EXPECT_EQ(entered.size(), 1u);
}

TEST_F(EditBoxTest, ClickPlacesTheCaretAndKeysStartEditingASelectedBox) {
    EditBox& box = *Find("Free");
    box.SetText("12345");
    EXPECT_EQ(box.Edited().Caret(), 5);
    Click(box);  // near the start
    EXPECT_EQ(box.Edited().Caret(), 0);
    Special(Platform::KeyEnd);
    const int end = box.CaretX();
    Click(box.GetX() + end - 1, 15);
    EXPECT_EQ(box.Edited().Caret(), 5);
    Press(kEnter);
    // Selected again by the keyboard's navigation, the first key brings the editing back.
    box.SetSelected(true);
    Type("6");
    EXPECT_TRUE(box.IsEditing());
    EXPECT_EQ(Manager().Focus(), &box);
    EXPECT_EQ(box.GetText(), "123456");
}

TEST_F(EditBoxTest, ACentredBoxKeepsItsTextInTheMiddleWhileItFits) {
    EditBox& box = *Find("Free");
    box.SetAlignment(Pym::Text::Centered);
    box.SetText("12");
    const int inner = box.GetWidth() - 4;
    EXPECT_GT(box.TextOffsetX(), inner / 4);
    EXPECT_LT(box.TextOffsetX(), inner / 2);
    box.SetText(std::string(80, 'W'));  // too wide: it scrolls like any box
    EXPECT_LE(box.TextOffsetX(), EditBox::kPadding);
}

TEST_F(EditBoxTest, DrawsTheSelectionInBlueWithWhiteTextAndABlinkingCaret) {
    EditBox& box = *Find("Free");
    Click(box);
    Type("WWW");
    Pym::Signal::Timer tick(1, 100);
    box.OnTimer(tick);
    ASSERT_TRUE(box.CaretShown());
    const int caret = box.CaretX() + box.GetX();
    const std::uint32_t accent = 0xFFFF8A3Du;
    EXPECT_EQ(Drawn()->At(caret, 20), accent);
    // Half a blink later it is gone; a move brings it back at once.
    tick.elapsedMs = 100 + EditBox::kBlinkMs;
    box.OnTimer(tick);
    EXPECT_FALSE(box.CaretShown());
    EXPECT_NE(Drawn()->At(caret, 20), accent);
    Special(Platform::KeyLeft);
    EXPECT_TRUE(box.CaretShown());

    Special(Platform::KeyHome);
    Special(Platform::KeyEnd, true);
    EXPECT_FALSE(box.CaretShown());  // a selection replaces the caret
    const auto canvas = Drawn();
    int blue = 0, light = 0, margin = 0;
    for (int x = box.GetX(); x < box.GetX() + box.GetWidth(); ++x)
        for (int y = box.GetY(); y < box.GetY() + box.GetHeight(); ++y) {
            const std::uint32_t pixel = canvas->At(x, y);
            blue += pixel == 0xFF0000C8u;
            light += (pixel >> 16 & 0xFF) > 180 && (pixel & 0xFF) > 180;
            const bool edge = x < box.GetX() + 2 || y < box.GetY() + 2 ||
                              x >= box.GetX() + box.GetWidth() - 2 ||
                              y >= box.GetY() + box.GetHeight() - 2;
            margin += edge && pixel != 0;
        }
    EXPECT_GT(blue, 100);
    EXPECT_GT(light, 20);  // the selected characters, drawn again in white
    EXPECT_EQ(margin, 0);  // nothing is drawn in the 2-pixel margin

    // Text far wider than the box is cut at the margin too.
    box.SetText(std::string(80, 'W'));
    const auto wide = Drawn();
    for (int y = box.GetY(); y < box.GetY() + box.GetHeight(); ++y) {
        EXPECT_EQ(wide->At(box.GetX() + 1, y), 0u);
        EXPECT_EQ(wide->At(box.GetX() + box.GetWidth() - 2, y), 0u);
    }
}

}  // namespace
