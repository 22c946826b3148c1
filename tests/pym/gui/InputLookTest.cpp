// The skin's templates of the input widgets, built and drawn as a skin would use them. With
// ONDREL_SKIN_PNG set to a folder, the drawing is also written there as input-widgets.png.
#include <cstdlib>
#include <filesystem>

#include "platform/HostWindow.h"
#include "pym/gui/EditBox.h"
#include "pym/gui/GridLayout.h"
#include "pym/gui/ObjectSlider.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/OffscreenHost.h"
#include "tests/support/SkinLook.h"

namespace {

using namespace Testing::Look;

constexpr std::uint32_t kSelection = 0xFF0000C8u;

class InputLookTest : public Testing::WidgetFixture {};

TEST_F(InputLookTest, EditBoxAndSliderTemplatesDrawInTheDarkTheme) {
    UseRealSkin();
    Testing::OffscreenHost host;
    auto* panel =
        Build<Pym::GridLayout>("<Pym::GridLayout>" +
                               Place("Tempo", "20px", "20px", "160px", "32px",
                                     "<Pym::EditBox BaseXML=\"default\" Text=\"120 BPM\"/>") +
                               Place("Volume", "20px", "72px", "280px", "24px",
                                     "<Pym::ObjectSlider BaseXML=\"default\"/>") +
                               "</Pym::GridLayout>");
    ASSERT_NE(panel, nullptr);
    panel->Resize(320, 116);
    panel->Relayout();
    auto find = [&](const std::string& name) { return Pym::FindObject(panel, name); };
    auto* tempo = dynamic_cast<Pym::EditBox*>(find("Tempo"));
    auto* volume = dynamic_cast<Pym::ObjectSlider*>(find("Volume"));
    ASSERT_NE(tempo, nullptr);
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->Positions().size(), 11u);
    EXPECT_EQ(volume->Step(), 10);
    volume->SetValue(70);

    // "120" selected as the user would: Home, then Shift+Right three times.
    Pym::Signal::KeyPress home(static_cast<int>(Platform::kKeyDownBit | Platform::KeyHome));
    tempo->OnKeyPress(home);
    host.shiftDown = true;
    for (int i = 0; i < 3; ++i) {
        Pym::Signal::KeyPress right(static_cast<int>(Platform::kKeyDownBit | Platform::KeyRight));
        tempo->OnKeyPress(right);
    }
    host.shiftDown = false;
    EXPECT_EQ(tempo->Edited().SelectedText(), "120");

    Testing::Canvas canvas(320, 116);
    canvas.context.FillRect({0, 0, 320, 116}, {255, 0x1E, 0x21, 0x29});
    panel->Draw(canvas.context);
    if (const char* folder = std::getenv("ONDREL_SKIN_PNG"))
        cairo_surface_write_to_png(canvas.buffer->Surface(),
                                   (std::filesystem::path(folder) / "input-widgets.png").c_str());

    EXPECT_EQ(canvas.At(4, 4), kPanel);
    EXPECT_EQ(canvas.At(20, 20), kPanel);        // the field's rounded corner
    EXPECT_EQ(canvas.At(170, 36), kBackground);  // right of the text
    EXPECT_EQ(canvas.At(20 + 6, 36), kSelection);
    // The slider at 70: accent up to the thumb, the thumb, then the bare track.
    const int thumb = 20 + static_cast<int>(0.7 * (280 - 14)) + 7;
    EXPECT_EQ(canvas.At(40, 84), kAccent);
    EXPECT_EQ(canvas.At(thumb, 76), kText);
    EXPECT_EQ(canvas.At(280, 84), kHairline);
    EXPECT_EQ(canvas.At(280, 74), kPanel);  // the track is thinner than the slider
}

}  // namespace
