// Builds the skin's own templates of the basic widgets and renders them, as a skin would
// use them. With ONDREL_LOOK_PNG set, the rendering is also written to that file to look at.
#include <cstdlib>

#include "pym/gui/GridLayout.h"
#include "pym/gui/ImageButton.h"
#include "pym/gui/Text.h"
#include "pym/gui/ToggleButton.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/SkinLook.h"

namespace {

using namespace Testing::Look;

class WidgetLookTest : public Testing::WidgetFixture {};

TEST_F(WidgetLookTest, TheSkinsTemplatesDrawADarkThemedPanel) {
    UseRealSkin();
    auto* panel = Build<Pym::GridLayout>(
        "<Pym::GridLayout>" +
        Place("Title", "16px", "12px", "1-32px", "40px",
              "<Pym::Text BaseXML=\"default\" Text=\"120 BPM\" Alignment=\"Centered\">"
              "<Font Family=\"Inter, DejaVu Sans\" Size=\"28\" Style=\"Bold\" "
              "Conversion=\"Point\"/></Pym::Text>") +
        Place("Label", "16px", "56px", "1-32px", "20px",
              "<Pym::Text BaseXML=\"default\" Text=\"TEMPO · Allegro ♩ = 120\" "
              "Alignment=\"Centered\"/>") +
        Place("Note", "16px", "80px", "1-32px", "44px",
              "<Pym::Text2 BaseXML=\"default\" Text=\"Drag the title bar to move the window; "
              "the grip resizes it.\" MaxWidth=\"300\"/>") +
        Place("Play", "16px", "136px", "72px", "40px", "<Pym::ImageButton BaseXML=\"default\"/>") +
        Place("Hover", "100px", "136px", "72px", "40px",
              "<Pym::ImageButton BaseXML=\"default\"/>") +
        Place("Chosen", "184px", "136px", "72px", "40px",
              "<Pym::ImageButton BaseXML=\"default\"/>") +
        Place("ToggleUp", "268px", "136px", "36px", "40px",
              "<Pym::ToggleButton BaseXML=\"default\"/>") +
        Place("ToggleDown", "312px", "136px", "36px", "40px",
              "<Pym::ToggleButton BaseXML=\"default\" ButtonState=\"0\"/>") +
        "</Pym::GridLayout>");
    ASSERT_NE(panel, nullptr);
    panel->Resize(360, 192);
    panel->Relayout();
    auto find = [&](const std::string& name) { return Pym::FindObject(panel, name); };
    auto* title = dynamic_cast<Pym::Text*>(find("Title"));
    ASSERT_NE(title, nullptr);
    // The use's own font replaces the template's; what it leaves out comes from the template.
    EXPECT_DOUBLE_EQ(title->GetFont()->PixelSize(), 28.0);
    EXPECT_EQ(title->GetColor(), (Pym::ColourValue{255, 232, 234, 240}));
    ASSERT_NE(dynamic_cast<Pym::ImageButton*>(find("Play")), nullptr);
    ASSERT_NE(dynamic_cast<Pym::ToggleButton*>(find("ToggleDown")), nullptr);
    find("Hover")->SetMouseOver(true);
    find("Chosen")->SetForceSelected(true);

    Testing::Canvas canvas(360, 192);
    canvas.context.FillRect({0, 0, 360, 192}, {255, 0x15, 0x17, 0x1C});
    panel->Draw(canvas.context);
    if (const char* png = std::getenv("ONDREL_LOOK_PNG"))
        cairo_surface_write_to_png(canvas.buffer->Surface(), png);

    EXPECT_EQ(canvas.At(4, 4), kBackground);
    EXPECT_EQ(canvas.At(52, 156), kRaised);                           // button at rest
    EXPECT_GT(Brightness(canvas.At(136, 156)), Brightness(kRaised));  // hovered: brighter
    EXPECT_EQ(canvas.At(220, 156), kRaised);                          // selected: ringed
    EXPECT_EQ(canvas.At(184, 156), kAccent);
    EXPECT_EQ(canvas.At(330, 156), kAccent);  // toggle down
    EXPECT_NE(canvas.At(286, 156), kAccent);  // toggle up
    // Rounded corners: the panel shows through at a button's very corner.
    EXPECT_EQ(canvas.At(16, 136), kBackground);
    // The title is drawn in the theme's light text colour somewhere on its line.
    int brightest = 0;
    for (int x = 16; x < 344; ++x)
        for (int y = 12; y < 52; ++y) brightest = std::max(brightest, Brightness(canvas.At(x, y)));
    EXPECT_GT(brightest, 3 * 0xD0);
}

}  // namespace
