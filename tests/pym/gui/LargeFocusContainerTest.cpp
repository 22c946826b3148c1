#include <cstdint>
#include <cstdlib>

#include <gtest/gtest.h>

#include "pym/core/Clock.h"
#include "pym/gfx/CairoDrawContext.h"
#include "pym/gui/LargeFocusContainer.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/RegisterType.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/pym/gui/Swatch.h"
#include "tests/support/SkinFixture.h"

using namespace Pym;
using Testing::Probe;

namespace {

using Rect = GuiObject::Rect;

// The cell that shows an item: where the carousel put it.
Rect CellOf(const GuiObject& item) {
    return item.GetParent()->GetRect();
}

float AlphaOf(const GuiObject& item) {
    return item.GetParent()->IsVisible() ? item.GetParent()->GetAlpha() : 0.0f;
}

class LargeFocusContainerTest : public ::testing::Test {
protected:
    // A 700 x 200 carousel of five items, moving at once, announcing into `announced`.
    void SetUp() override {
        carousel.Resize(700, 200);
        carousel.SetFocusShare(0.4f);
        carousel.SetGlideSeconds(0.0);
        for (Probe* item : items) carousel.AddItem(item);
        carousel.ConnectSlot(Signal::String::Id(), nullptr, [this](Signal::Base& s, GuiObject*) {
            announced.push_back(static_cast<Signal::String&>(s).text);
        });
    }
    void Wheel(int x, int y, int delta) {
        Signal::MouseWheel wheel(x, y, delta);
        carousel.SendSignal(wheel);
    }
    void Click(int x, int y) {
        Signal::MouseMove move(x, y);
        carousel.SendSignal(move);
        Signal::LeftButtonUp up(x, y);
        carousel.SendSignal(up);
    }

    LargeFocusContainer carousel;
    Probe a{"a"}, b{"b"}, c{"c"}, d{"d"}, e{"e"};
    std::vector<Probe*> items{&a, &b, &c, &d, &e};
    std::vector<std::string> announced;
};

TEST_F(LargeFocusContainerTest, TheFocusedItemIsLargeInTheMiddleWithSmallerFainterNeighbours) {
    carousel.SetFocusIndex(2);
    EXPECT_TRUE(announced.empty());  // focusing by code is silent
    // Focused: 0.4 of the width, full height, centred.
    EXPECT_EQ(CellOf(c), (Rect{210, 0, 280, 200}));
    // Neighbours: two thirds of that, a quarter of their width behind the focused item, so
    // the outer edge lies at 0.5 + 0.4 of the width.
    EXPECT_EQ(CellOf(d), (Rect{443, 33, 187, 133}));
    EXPECT_EQ(CellOf(b), (Rect{70, 33, 187, 133}));
    // Further ones stick out of the carousel and fade by the part outside.
    EXPECT_FLOAT_EQ(AlphaOf(c), 1.0f);
    EXPECT_NEAR(AlphaOf(b), 0.55f, 1e-4);
    EXPECT_NEAR(AlphaOf(d), 0.55f, 1e-4);
    EXPECT_GT(AlphaOf(a), 0.0f);
    EXPECT_LT(AlphaOf(a), AlphaOf(b) / 2);
    EXPECT_NEAR(AlphaOf(a), AlphaOf(e), 1e-4);

    carousel.SetFocusIndex(0);
    EXPECT_EQ(CellOf(a), (Rect{210, 0, 280, 200}));
    EXPECT_FALSE(d.GetParent()->IsVisible());  // entirely outside
    EXPECT_FALSE(e.GetParent()->IsVisible());

    // Nearest on top: drawn farthest first, the focused item last.
    Testing::RecordingDrawContext drawn;
    carousel.Draw(drawn);
    std::vector<std::string> order;
    for (const auto& entry : drawn.drawn) order.push_back(entry.what);
    EXPECT_EQ(order, (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(LargeFocusContainerTest, TheFocusedShareStaysWithinItsLimits) {
    carousel.SetFocusShare(0.9f);
    EXPECT_FLOAT_EQ(carousel.GetFocusShare(), 0.5f);
    EXPECT_EQ(CellOf(a), (Rect{175, 0, 350, 200}));
    // At one half exactly one whole neighbour fits to each side.
    EXPECT_EQ(CellOf(b).x + CellOf(b).width, 700);
    carousel.SetFocusShare(0.1f);
    EXPECT_FLOAT_EQ(carousel.GetFocusShare(), 0.2857143f);
    EXPECT_EQ(CellOf(a).width, 200);
    EXPECT_LE(CellOf(c).x + CellOf(c).width, 700);  // two whole neighbours to a side
    EXPECT_NEAR(AlphaOf(c), 0.55f * 0.55f, 1e-3);
}

TEST_F(LargeFocusContainerTest, AWheelNotchMovesOneItemAndAnnouncesIt) {
    Wheel(350, 100, -120);  // towards the user: on to the next item
    EXPECT_EQ(carousel.FocusedIndex(), 1);
    Wheel(350, 100, -240);
    EXPECT_EQ(carousel.FocusedIndex(), 3);
    Wheel(350, 100, 120);
    EXPECT_EQ(carousel.FocusedIndex(), 2);
    EXPECT_EQ(announced, (std::vector<std::string>{"b", "d", "c"}));
    EXPECT_EQ(CellOf(c), (Rect{210, 0, 280, 200}));

    Wheel(350, 100, -60);  // half notches add up
    EXPECT_EQ(carousel.FocusedIndex(), 2);
    Wheel(350, 100, -60);
    EXPECT_EQ(carousel.FocusedIndex(), 3);

    announced.clear();
    Wheel(350, 100, -1200);  // stops at the last item
    EXPECT_EQ(carousel.FocusedIndex(), 4);
    Wheel(350, 100, -120);
    EXPECT_EQ(announced, std::vector<std::string>{"e"});  // no change, no announcement
    Wheel(900, 100, 120);  // not over the carousel, though it is selected
    EXPECT_EQ(carousel.FocusedIndex(), 4);
}

TEST_F(LargeFocusContainerTest, AClickFocusesTheItemUnderItNearestTheFocusFirst) {
    Click(600, 100);  // the right neighbour
    EXPECT_EQ(carousel.FocusedIndex(), 1);
    EXPECT_EQ(announced, std::vector<std::string>{"b"});
    // Where a neighbour is tucked behind the focused item, the focused item takes the click.
    Click(470, 100);
    EXPECT_EQ(carousel.FocusedIndex(), 1);
    EXPECT_EQ(announced, (std::vector<std::string>{"b", "b"}));  // chosen again
    Click(5, 5);                                                 // nothing there
    Click(120, 100);                                             // the left neighbour
    EXPECT_EQ(carousel.FocusedIndex(), 0);
    EXPECT_EQ(announced, (std::vector<std::string>{"b", "b", "a"}));
}

TEST_F(LargeFocusContainerTest, WhileSelectedTheNavigationKeysStepThroughTheItems) {
    EXPECT_TRUE(carousel.IsSelected());  // it starts selected
    Signal::SelectNextObject right(1);
    carousel.SendSignal(right);
    EXPECT_TRUE(right.handled);
    EXPECT_EQ(carousel.FocusedIndex(), 1);
    Signal::SelectNextObject left(0);
    carousel.SendSignal(left);
    Signal::SelectNextObject again(0);
    carousel.SendSignal(again);
    EXPECT_EQ(carousel.FocusedIndex(), 0);
    EXPECT_FALSE(again.handled);  // at the end the navigation goes on elsewhere
    EXPECT_EQ(announced, (std::vector<std::string>{"b", "a"}));
}

TEST_F(LargeFocusContainerTest, OnlyTheChosenItemShowsSelectedAndTheChoiceCanBeCleared) {
    EXPECT_FALSE(carousel.HasSelection());
    for (Probe* item : items) EXPECT_FALSE(item->IsSelected());
    carousel.SetFocusIndex(3);
    EXPECT_TRUE(d.IsSelected());
    EXPECT_FALSE(c.IsSelected());
    carousel.MoveFocus(-1);  // the user's choice is marked too
    EXPECT_TRUE(c.IsSelected());
    EXPECT_FALSE(d.IsSelected());
    carousel.ClearSelection();
    EXPECT_FALSE(carousel.HasSelection());
    EXPECT_FALSE(c.IsSelected());
    EXPECT_EQ(carousel.FocusedIndex(), 2);  // the carousel stays where it was
    carousel.SetFocusIndex(2);              // the same item again: marked again
    EXPECT_TRUE(c.IsSelected());
}

TEST_F(LargeFocusContainerTest, ItemsAreFoundByNameAndReplaced) {
    EXPECT_EQ(carousel.ItemCount(), 5);
    EXPECT_EQ(carousel.FindItem("d"), 3);
    EXPECT_EQ(carousel.FindItem("z"), -1);
    EXPECT_EQ(carousel.ItemAt(3), &d);
    EXPECT_FALSE(carousel.SetFocusIndex(5));
    carousel.RemoveAllItems();
    EXPECT_EQ(carousel.ItemCount(), 0);
    EXPECT_EQ(carousel.FocusedIndex(), -1);
    EXPECT_EQ(a.GetParent(), nullptr);
    EXPECT_TRUE(carousel.Children().empty());
}

TEST(LargeFocusContainerEdgeTest, EmptyAndSingleItemCarousels) {
    LargeFocusContainer carousel;
    carousel.Resize(300, 100);
    std::vector<std::string> announced;
    Testing::Log(carousel, Signal::String::Id(), announced, "announced");
    Signal::MouseWheel wheel(150, 50, -120);
    carousel.SendSignal(wheel);
    Signal::MouseMove move(150, 50);
    carousel.SendSignal(move);
    Signal::LeftButtonUp up(150, 50);
    carousel.SendSignal(up);
    EXPECT_EQ(carousel.FocusedIndex(), -1);
    EXPECT_FALSE(carousel.MoveFocus(1));
    Testing::RecordingDrawContext drawn;
    carousel.Draw(drawn);
    EXPECT_TRUE(drawn.drawn.empty());
    EXPECT_TRUE(announced.empty());

    Probe only("only");
    carousel.SetGlideSeconds(0.0);
    carousel.AddItem(&only);
    EXPECT_EQ(carousel.FocusedIndex(), 0);
    EXPECT_EQ(CellOf(only), (Rect{90, 0, 120, 100}));
    Signal::MouseWheel next(150, 50, -120);
    carousel.SendSignal(next);
    EXPECT_EQ(carousel.FocusedIndex(), 0);
    EXPECT_TRUE(announced.empty());
}

class LargeFocusGlideTest : public LargeFocusContainerTest {
protected:
    void SetUp() override {
        SetClockSource([this] { return now; });
        LargeFocusContainerTest::SetUp();
        carousel.SetGlideSeconds(0.16);
    }
    void TearDown() override { SetClockSource(nullptr); }
    void Tick() {
        Signal::Timer timer(1, 0);
        carousel.SendSignal(timer);
    }
    double now = 50.0;
};

TEST_F(LargeFocusGlideTest, ItemsGlideToTheirNewPlaces) {
    const Rect focused = CellOf(a), neighbour = CellOf(b);
    carousel.SetFocusIndex(1);
    EXPECT_EQ(carousel.FocusedIndex(), 1);
    EXPECT_TRUE(carousel.IsGliding());
    EXPECT_EQ(CellOf(b), neighbour);  // nothing has moved yet
    now += 0.05;
    Tick();
    const Rect between = CellOf(b);
    EXPECT_LT(between.x, neighbour.x);
    EXPECT_GT(between.x, focused.x);
    EXPECT_GT(between.width, neighbour.width);
    EXPECT_LT(between.width, focused.width);
    now += 0.2;
    Tick();
    EXPECT_FALSE(carousel.IsGliding());
    EXPECT_EQ(CellOf(b), focused);
    EXPECT_EQ(CellOf(a), (Rect{70, 33, 187, 133}));
}

// Renders a carousel of coloured cards; with ONDREL_SNAPSHOT_DIR set the picture is kept.
TEST(LargeFocusRenderTest, FocusedCardIsOpaqueAndNeighboursShowFainter) {
    LargeFocusContainer carousel;
    carousel.Resize(720, 160);
    carousel.SetGlideSeconds(0.0);
    carousel.SetItemAspectRatio(1.6f);
    const std::vector<ColourValue> colours{{255, 255, 138, 61},
                                           {255, 76, 201, 240},
                                           {255, 61, 220, 132},
                                           {255, 255, 92, 92},
                                           {255, 232, 234, 240}};
    std::vector<std::unique_ptr<Testing::Swatch>> cards;
    for (const ColourValue& colour : colours) {
        cards.push_back(std::make_unique<Testing::Swatch>());
        cards.back()->colour = colour;
        carousel.AddItem(cards.back().get());
    }
    carousel.SetFocusIndex(2);

    auto picture = Gfx::Image::Blank(720, 160);
    {
        Gfx::CairoDrawContext context(*picture);
        context.FillRect({0, 0, 720, 160}, ColourValue{255, 21, 23, 28});
        carousel.Draw(context);
    }
    if (const char* dir = std::getenv("ONDREL_SNAPSHOT_DIR"))
        cairo_surface_write_to_png(picture->Surface(),
                                   (std::string(dir) + "/carousel.png").c_str());

    cairo_surface_flush(picture->Surface());
    const unsigned char* data = cairo_image_surface_get_data(picture->Surface());
    const int stride = cairo_image_surface_get_stride(picture->Surface());
    auto red = [&](int x, int y) {
        return static_cast<int>(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] >> 16 &
                                0xFF);
    };
    EXPECT_EQ(red(360, 80), 61);  // the focused card, as it is
    // The right neighbour's uncovered part: its red over the background at about 0.55.
    const int blended = red(600, 80);
    EXPECT_NEAR(blended, 21 + (255 - 21) * 0.55, 4);
    EXPECT_EQ(red(600, 10), 21);  // above the smaller neighbour: background
}

class LargeFocusXmlTest : public Testing::SkinFixture {};

TEST_F(LargeFocusXmlTest, BothNamedTypesAreRegisteredWithTheirTemplates) {
    for (const std::string type : {"PackedLayout", "LargeFocusContainer"}) {
        EXPECT_TRUE(DllGlobalObjectFactoryInstance().IsRegistered("Pym::" + type)) << type;
        EXPECT_EQ(DllDocMapInstance().GetDefaultXml("Pym::" + type),
                  "$PYM/Objects/" + type + "/" + type + ".xml");
    }
    EXPECT_EQ(RegisteredTypeName<LargeFocusContainer>(), "Pym::LargeFocusContainer");
}

TEST_F(LargeFocusXmlTest, TheSkinTemplateMakesACarouselOfItsCreatedObjects) {
    WriteLibrary(
        "Objects/LargeFocusContainer/LargeFocusContainer.xml",
        Testing::ReadFile(std::string(ONDREL_SOURCE_DIR) +
                          "/skin/lib/PYM/XML/Objects/LargeFocusContainer/LargeFocusContainer.xml"));
    Write("XML/Presets.xml",
          "<Pym::LargeFocusContainer BaseXML=\"default\" FocusFraction=\"0.45\">"
          "<CreateObject Name=\"Largo\"><Test::Swatch Colour=\"255,0,0\"/></CreateObject>"
          "<CreateObject Name=\"Adagio\"><Test::Swatch Colour=\"0,255,0\"/></CreateObject>"
          "<CreateObject Name=\"Presto\"><Test::Swatch Colour=\"0,0,255\"/></CreateObject>"
          "</Pym::LargeFocusContainer>");
    XMLLoadSave loader;
    TiXmlElement* root = loader.GetRootElement("XML/Presets.xml");
    ASSERT_NE(root, nullptr);
    std::unique_ptr<GuiObject> built(
        CreateNamedObject(root->ValueStr(), "PresetContainer", nullptr, root));
    auto* carousel = dynamic_cast<LargeFocusContainer*>(built.get());
    ASSERT_NE(carousel, nullptr);
    EXPECT_EQ(carousel->ItemCount(), 3);
    EXPECT_EQ(carousel->FindItem("Adagio"), 1);
    EXPECT_EQ(carousel->FocusedIndex(), 0);
    EXPECT_FLOAT_EQ(carousel->GetFocusShare(), 0.45f);
    EXPECT_EQ(carousel->GetXMLObject<GuiObject>("Presto"), carousel->ItemAt(2));
    EXPECT_FALSE(carousel->GetNotSelectable());
}

}  // namespace
