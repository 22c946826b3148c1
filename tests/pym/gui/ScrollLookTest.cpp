// Builds the skin's own templates of the scroll family and renders them, as a skin would use
// them. With ONDREL_LOOK_PNG set, the rendering is also written to that file to look at.
#include <cstdlib>

#include "pym/gui/GridLayout.h"
#include "pym/gui/NewScrolledListBox.h"
#include "pym/gui/ProgressBar.h"
#include "pym/gui/ScrollWindow.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/SkinLook.h"

namespace {

using namespace Testing::Look;

class ScrollLookTest : public Testing::WidgetFixture {};

TEST_F(ScrollLookTest, TheSkinsTemplatesDrawAScrolledListWithItsBarAndAProgressBar) {
    UseRealSkin();
    std::string entries;
    for (const char* name :
         {"Straight 4/4", "Waltz 3/4", "Swing 4/4", "Bossa nova", "Clave 3-2", "Shuffle 12/8",
          "Five 5/4", "Seven 7/8", "Polka 2/4", "Tango", "March 6/8", "Samba"})
        entries += "<Entry Name=\"" + std::string(name) + "\"/>";
    const std::string listXml =
        "<Pym::NewScrolledListBox BaseXML=\"default\">" + entries + "</Pym::NewScrolledListBox>";
    const std::string progressXml = "<Pym::ProgressBar BaseXML=\"default\" Value=\"0.4\"/>";
    const std::string pageXml =
        "<Pym::ScrollWindow BaseXML=\"default\" ScrollBars=\"Both\">" +
        Place("Panel", "0", "0", "2", "2",
              "<Pym::Image BaseXML=\"default\" ImageFile=\"images/window/panel.svg\"/>") +
        "</Pym::ScrollWindow>";
    auto* panel = Build<Pym::GridLayout>(
        "<Pym::GridLayout>" + Place("Presets", "16px", "16px", "1-32px", "168px", listXml) +
        Place("Progress", "16px", "200px", "1-32px", "12px", progressXml) +
        Place("Page", "16px", "228px", "1-32px", "116px", pageXml) + "</Pym::GridLayout>");
    ASSERT_NE(panel, nullptr);
    panel->Resize(320, 360);
    panel->Relayout();
    auto* list = dynamic_cast<Pym::NewScrolledListBox*>(Pym::FindObject(panel, "Presets"));
    auto* progress = dynamic_cast<Pym::ProgressBar*>(Pym::FindObject(panel, "Progress"));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(progress, nullptr);
    ASSERT_EQ(list->List().EntryCount(), 12);
    // Row 7 is made active: the list scrolls so it is the last row in view.
    list->SetActive(7);
    EXPECT_EQ(list->ScrollY(), 8 * 28 - 168);

    // The page, twice its view each way, scrolled to the middle.
    auto* pageWindow = dynamic_cast<Pym::ScrollWindow*>(Pym::FindObject(panel, "Page"));
    ASSERT_NE(pageWindow, nullptr);
    ASSERT_NE(pageWindow->BarX(), nullptr);
    EXPECT_EQ(pageWindow->GetContent()->GetWidth(), 2 * pageWindow->Viewport()->GetWidth());
    pageWindow->ScrollTo(pageWindow->Viewport()->GetWidth() / 2,
                         pageWindow->Viewport()->GetHeight() / 2);
    EXPECT_FLOAT_EQ(pageWindow->BarX()->GetScrollObject()->BarShare(), 0.5f);

    Testing::Canvas canvas(320, 360);
    canvas.context.FillRect({0, 0, 320, 360}, {255, 0x15, 0x17, 0x1C});
    panel->Draw(canvas.context);
    if (const char* png = std::getenv("ONDREL_LOOK_PNG"))
        cairo_surface_write_to_png(canvas.buffer->Surface(), png);

    // The active row, the bottom one in view, is tinted with the accent at its right end.
    const int activeY = 16 + 168 - 14;
    const std::uint32_t tinted = canvas.At(260, activeY);
    EXPECT_GT(Red(tinted), Red(kBackground) + 40);
    EXPECT_EQ(canvas.At(260, activeY - 28), kBackground);  // the row above is not
    // The bar sits on its slim groove, brighter than the panel, in the column at the right.
    const int barX = 16 + 288 - 6;
    int brightest = 0;
    for (int y = 16; y < 184; ++y) brightest = std::max(brightest, Brightness(canvas.At(barX, y)));
    EXPECT_GT(brightest, Brightness(kRaised));
    // The progress bar: the accent up to 40 %, the track after it.
    EXPECT_EQ(canvas.At(16 + 50, 206), kAccent);
    EXPECT_EQ(canvas.At(16 + 200, 206), kRaised);
    EXPECT_EQ(canvas.At(8, 206), kBackground);
}

}  // namespace
