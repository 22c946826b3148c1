#include "pym/gui/Text.h"

#include <cmath>

#include "pym/core/DocMap.h"
#include "pym/gfx/TextLayout.h"
#include "pym/gui/Text2.h"
#include "pym/gui/Window.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/OffscreenHost.h"

using Pym::Text;
using Pym::Text2;
using Testing::TextRecordingContext;

namespace {

std::string TextXml(const std::string& attributes,
                    const std::string& font =
                        "<Font Family=\"DejaVu Sans\" Size=\"12\" "
                        "Style=\"Regular\" Conversion=\"Point\"/>",
                    const std::string& type = "Pym::Text") {
    return "<" + type + " " + attributes + ">" + font + "</" + type + ">";
}

const std::string kColours = "Color=\"232,234,240,255\" SelectedColor=\"255,138,61,255\"";

int CeilHeight(const Pym::Gfx::Font& font, const std::string& text) {
    return static_cast<int>(std::ceil(Pym::Gfx::TextLayout::Measure(font, text).height));
}

class TextTest : public Testing::WidgetFixture {};

TEST_F(TextTest, ReadsItsAttributesAndFailsWithoutTheRequiredOnes) {
    auto& factory = Pym::DllGlobalObjectFactoryInstance();
    EXPECT_TRUE(factory.IsRegistered("Pym::Text"));
    EXPECT_TRUE(factory.IsRegistered("Pym::Text2"));
    EXPECT_EQ(Pym::DllDocMapInstance().GetDefaultXml("Pym::Text"), "$PYM/Objects/Text/Text.xml");
    EXPECT_EQ(Pym::DllDocMapInstance().GetDefaultXml("Pym::Text2"), "$PYM/Objects/Text2/Text2.xml");

    auto* text = Build<Text>(
        TextXml("Stretchable=\"2\" Alignment=\"Centered\" Text=\"120 BPM · ♩\" " + kColours,
                "<Font Family=\"DejaVu Sans\" Size=\"20\" Style=\"Bold\" Conversion=\"Point\"/>"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->IsStretchable());
    EXPECT_EQ(text->GetAlignment(), Text::Centered);
    EXPECT_EQ(text->GetText(), "120 BPM · ♩");  // UTF-8 kept as written
    EXPECT_EQ(text->GetColor(), (Pym::ColourValue{255, 232, 234, 240}));
    EXPECT_EQ(text->GetSelectedColor(), (Pym::ColourValue{255, 255, 138, 61}));
    ASSERT_NE(text->GetFont(), nullptr);
    EXPECT_EQ(text->GetFont()->Description().style, Pym::FontStyleBold);
    EXPECT_DOUBLE_EQ(text->GetFont()->PixelSize(), 20.0);

    auto* left =
        Build<Text>(TextXml("Stretchable=\"0\" Alignment=\"Right\" Text=\"a\" " + kColours));
    ASSERT_NE(left, nullptr);
    EXPECT_FALSE(left->IsStretchable());
    EXPECT_EQ(left->GetAlignment(), Text::Left);

    // Stretchable is a required attribute: the skin error ends the build.
    EXPECT_THROW(Build(TextXml("Text=\"a\" " + kColours)), Pym::XMLLoadSaveException);
    // The others are reported and the text is not made.
    traces.clear();
    EXPECT_EQ(Build(TextXml("Stretchable=\"0\" " + kColours)), nullptr);
    EXPECT_TRUE(TracedContaining("Attribute = Text"));
    EXPECT_EQ(Build(TextXml("Stretchable=\"0\" Text=\"a\" " + kColours, "")), nullptr);
    EXPECT_TRUE(TracedContaining("Attribute = Font"));
    EXPECT_EQ(Build(TextXml("Stretchable=\"0\" Text=\"a\" SelectedColor=\"1,2,3,255\"")), nullptr);
    EXPECT_TRUE(TracedContaining("Attribute = Color"));
    EXPECT_EQ(Build(TextXml("Stretchable=\"0\" Text=\"a\" Color=\"1,2,3,255\"")), nullptr);
    EXPECT_TRUE(TracedContaining("Attribute = SelectedColor"));

    auto* wrapping = Build<Text2>(
        TextXml("Stretchable=\"0\" Text=\"a\" MaxWidth=\"80\" " + kColours,
                "<Font Family=\"DejaVu Sans\" Size=\"12\" Style=\"Regular\" Conversion=\"Point\"/>",
                "Pym::Text2"));
    ASSERT_NE(wrapping, nullptr);
    EXPECT_EQ(wrapping->GetMaxWidth(), 80);
}

TEST_F(TextTest, CentredTextSitsInTheMiddleAndTakesTheSelectedColour) {
    // A font size whose text is exactly 10 pixels high.
    double size = 0;
    for (double s = 6; s < 12 && size == 0; s += 0.05) {
        Pym::Gfx::Font probe({"DejaVu Sans", float(s), Pym::FontStyleRegular, Pym::FontSizePoint},
                             0, 0);
        if (CeilHeight(probe, "Tempo") == 10) size = s;
    }
    ASSERT_GT(size, 0);
    auto* text =
        Build<Text>(TextXml("Stretchable=\"0\" Alignment=\"Centered\" Text=\"Tempo\" " + kColours,
                            "<Font Family=\"DejaVu Sans\" Size=\"" + std::to_string(size) +
                                "\" Style=\"Regular\" Conversion=\"Point\"/>"));
    ASSERT_NE(text, nullptr);
    text->Move(30, 40);
    text->Resize(100, 25);

    TextRecordingContext context;
    text->Draw(context);
    ASSERT_EQ(context.lines.size(), 1u);
    EXPECT_EQ(context.lines[0].text, "Tempo");
    EXPECT_EQ(context.lines[0].rect.x, 30);
    EXPECT_EQ(context.lines[0].rect.y, 40 + 7);  // 25 / 2 - 10 / 2
    EXPECT_EQ(context.lines[0].rect.width, 100);
    EXPECT_EQ(context.lines[0].rect.height, 25);
    EXPECT_EQ(context.lines[0].alignment, Pym::Gfx::TextAlignment::Center);
    EXPECT_EQ(context.lines[0].colour, text->GetColor());

    text->SetForceSelected(true);
    text->Draw(context);
    EXPECT_EQ(context.lines.back().colour, text->GetSelectedColor());

    // Left-aligned text stays at the top; nothing is drawn into no room.
    auto* left = Build<Text>(TextXml("Stretchable=\"0\" Text=\"Tempo\" " + kColours));
    left->Move(5, 6);
    left->Resize(100, 25);
    TextRecordingContext leftContext;
    left->Draw(leftContext);
    ASSERT_EQ(leftContext.lines.size(), 1u);
    EXPECT_EQ(leftContext.lines[0].rect.y, 6);
    EXPECT_EQ(leftContext.lines[0].alignment, Pym::Gfx::TextAlignment::Near);
    left->Resize(100, 0);
    left->Draw(leftContext);
    EXPECT_EQ(leftContext.lines.size(), 1u);
}

TEST_F(TextTest, TakesTheSizeOfItsTextAndWrapsAtMaxWidth) {
    auto* text = Build<Text>(TextXml("Stretchable=\"0\" Text=\"A fairly long label\" " + kColours));
    ASSERT_NE(text, nullptr);
    text->OnLayoutReady();
    const auto box = Pym::Gfx::TextLayout::Measure(*text->GetFont(), "A fairly long label");
    EXPECT_EQ(text->GetWidth(), int(std::ceil(box.width)) + 1);
    EXPECT_EQ(text->GetHeight(), int(std::ceil(box.height)) + 1);

    const std::string font =
        "<Font Family=\"DejaVu Sans\" Size=\"12\" Style=\"Regular\" Conversion=\"Point\"/>";
    auto* wrapped = Build<Text2>(
        TextXml("Stretchable=\"0\" Text=\"A fairly long label\" MaxWidth=\"60\" " + kColours, font,
                "Pym::Text2"));
    ASSERT_NE(wrapped, nullptr);
    wrapped->OnLayoutReady();
    EXPECT_LE(wrapped->GetWidth(), 61);
    EXPECT_GT(wrapped->GetHeight(), text->GetHeight() + 5);  // more than one line

    // Always centred vertically, whatever its alignment says; empty text shows nothing.
    wrapped->Move(0, 0);
    wrapped->Resize(60, 200);
    TextRecordingContext context;
    wrapped->Draw(context);
    ASSERT_EQ(context.lines.size(), 1u);
    const int height = int(std::ceil(
        Pym::Gfx::TextLayout::Measure(*wrapped->GetFont(), "A fairly long label", 60).height));
    EXPECT_GT(context.lines[0].rect.y, 0);
    EXPECT_EQ(context.lines[0].rect.y, 100 - height / 2);
    wrapped->SetText("");
    wrapped->Draw(context);
    EXPECT_EQ(context.lines.size(), 1u);
}

TEST_F(TextTest, StretchableTextGrowsWithItsWindow) {
    Testing::OffscreenHost host;
    const std::string heightFont =
        "<Font Family=\"DejaVu Sans\" Size=\"10\" Style=\"Regular\" Conversion=\"Height\"/>";
    auto* window = Build<Pym::Window>(
        "<Pym::Window XPos=\"0\" YPos=\"0\" Width=\"200\" Height=\"100\">"
        "<CreateObject Name=\"Big\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"0.5\">" +
        TextXml("Stretchable=\"1\" Text=\"120\" " + kColours, heightFont) +
        "</CreateObject>"
        "<CreateObject Name=\"Fixed\" XPos=\"0\" YPos=\"0.5\" Width=\"1\" Height=\"0.5\">" +
        TextXml("Stretchable=\"0\" Text=\"BPM\" " + kColours, heightFont) +
        "</CreateObject></Pym::Window>");
    ASSERT_NE(window, nullptr);
    host.Pump();
    auto* big = dynamic_cast<Text*>(Pym::FindObject(window, "Big"));
    auto* fixed = dynamic_cast<Text*>(Pym::FindObject(window, "Fixed"));
    ASSERT_NE(big, nullptr);
    ASSERT_NE(fixed, nullptr);

    TextRecordingContext context;
    big->Draw(context);
    ASSERT_EQ(context.lines.size(), 1u);
    EXPECT_DOUBLE_EQ(context.lines[0].pixelSize, 10.0);  // 10 % of 100 pixels
    const double fixedSize = fixed->GetFont()->PixelSize();

    window->Resize(400, 300);
    host.Pump();
    EXPECT_EQ(big->GetHeight(), 150);
    big->Draw(context);
    fixed->Draw(context);
    EXPECT_DOUBLE_EQ(context.lines[1].pixelSize, 30.0);
    EXPECT_DOUBLE_EQ(context.lines[2].pixelSize, fixedSize);

    // A fixed text loaded before any window existed takes its size from the first window
    // it is drawn in, and keeps it.
    auto* early = Build<Text>(TextXml("Stretchable=\"0\" Text=\"Early\" " + kColours, heightFont));
    ASSERT_NE(early, nullptr);
    window->AddChildAt(early, Pym::GridVal(), Pym::GridVal(), Pym::GridVal(0, 1),
                       Pym::GridVal(0, 0.5f));
    early->Draw(context);
    EXPECT_DOUBLE_EQ(context.lines.back().pixelSize, 30.0);
    window->Resize(200, 100);
    host.Pump();
    early->Draw(context);
    EXPECT_DOUBLE_EQ(context.lines.back().pixelSize, 30.0);
    // The window goes while the host it was shown on still exists.
    built.clear();
}

TEST_F(TextTest, AHugeTextIsCutToTheLabelLimitBetweenCharacters) {
    std::string huge;
    for (int i = 0; i < 50000; ++i) huge += "é";
    auto* text = Build<Text>(TextXml("Stretchable=\"0\" Text=\"" + huge + "\" " + kColours));
    ASSERT_NE(text, nullptr);
    const std::string kept(huge, 0, 2 * Text::kMaxCharacters);
    EXPECT_EQ(text->GetText(), kept);
    text->SetText("a" + huge);
    EXPECT_EQ(text->GetText(), "a" + kept.substr(0, kept.size() - 2));
}

}  // namespace
