// The object slider: which position it shows for a value, and how the pointer and the wheel
// set the value, both in code and in a window of the offscreen host.
#include "pym/gui/ObjectSlider.h"

#include <gtest/gtest.h>

#include "pym/core/ObjectFactory.h"
#include "pym/core/Signals.h"
#include "pym/gui/ObjectCreation.h"
#include "tests/pym/gui/Swatch.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/OffscreenHost.h"

using Pym::ObjectSlider;
using Type = Platform::HostEvent::Type;

namespace {

std::string Positions(int count) {
    std::string positions;
    for (int i = 0; i < count; ++i)
        positions += "<Test::Swatch Colour=\"0,0," + std::to_string(i) + "\"/>";
    return positions;
}

std::string Slider(const std::string& attributes, int positions) {
    return "<Pym::ObjectSlider " + attributes + ">" + Positions(positions) + "</Pym::ObjectSlider>";
}

class ObjectSliderTest : public Testing::WidgetFixture {
protected:
    // Records every value the slider announces.
    void Listen(ObjectSlider& slider) {
        slider.ConnectSlot(
            Pym::Signal::ObjectSliderSignal::Id(), nullptr,
            [this](Pym::Signal::Base& signal, Pym::GuiObject*) {
                announced.push_back(static_cast<Pym::Signal::ObjectSliderSignal&>(signal).value);
            });
    }
    int ShownIndex(const ObjectSlider& slider) {
        int visible = 0, index = -1;
        for (std::size_t i = 0; i < slider.Positions().size(); ++i)
            if (slider.Positions()[i]->IsVisible()) {
                ++visible;
                index = static_cast<int>(i);
            }
        return visible == 1 ? index : -1;
    }
    std::vector<int> announced;
};

TEST_F(ObjectSliderTest, ShowsThePositionNearestToItsValue) {
    EXPECT_EQ(Pym::DllDocMapInstance().GetDefaultXml("Pym::ObjectSlider"),
              "$PYM/Objects/ObjectSlider/ObjectSlider.xml");
    // Named in its own definition (the factory then adds an alias child) and holding a
    // template: neither is a position.
    auto* slider = Build<ObjectSlider>(
        "<Pym::ObjectSlider Name=\"Volume\" Orientation=\"Horizontal\" Min=\"0\" Max=\"100\">" +
        Positions(5) + "<Object Name=\"Spare\"><Test::Swatch/></Object></Pym::ObjectSlider>");
    ASSERT_NE(slider, nullptr);
    ASSERT_EQ(slider->Positions().size(), 5u);
    EXPECT_EQ(slider->GetNotSelectable(), 0);
    EXPECT_EQ(ShownIndex(*slider), 0);  // at its minimum until told otherwise
    slider->Resize(100, 20);
    slider->Relayout();
    EXPECT_EQ(slider->Positions()[3]->GetWidth(), 100);  // each position fills the slider
    Listen(*slider);

    slider->SetValue(50);
    EXPECT_EQ(ShownIndex(*slider), 2);
    slider->SetValue(63);  // 2.52 steps
    EXPECT_EQ(ShownIndex(*slider), 3);
    EXPECT_EQ(slider->Shown(), slider->Positions()[3]);
    slider->SetValue(62);  // 2.48 steps
    EXPECT_EQ(ShownIndex(*slider), 2);
    slider->SetValue(250);
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_EQ(ShownIndex(*slider), 4);
    slider->SetValue(-3);
    EXPECT_EQ(ShownIndex(*slider), 0);
    EXPECT_EQ(announced, (std::vector<int>{50, 63, 62, 100, 0}));

    // A slider over a single value, or written from max to min, still works.
    auto* single = Build<ObjectSlider>(Slider("Orientation=\"Horizontal\" Min=\"7\" Max=\"7\"", 3));
    ASSERT_NE(single, nullptr);
    single->SetValue(9);
    EXPECT_EQ(single->GetValue(), 7);
    EXPECT_EQ(ShownIndex(*single), 0);
    auto* reversed =
        Build<ObjectSlider>(Slider("Orientation=\"Horizontal\" Min=\"10\" Max=\"0\"", 3));
    ASSERT_NE(reversed, nullptr);
    reversed->SetValue(5);
    EXPECT_EQ(reversed->GetValue(), 5);
    EXPECT_EQ(ShownIndex(*reversed), 1);
}

TEST_F(ObjectSliderTest, MissingRangeOrOrientationIsASkinError) {
    EXPECT_THROW(Build(Slider("Min=\"0\" Max=\"1\"", 2)), Pym::XMLLoadSaveException);
    EXPECT_THROW(Build(Slider("Orientation=\"Vertical\" Max=\"1\"", 2)), Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Attribute = Min"));
}

TEST_F(ObjectSliderTest, PointerSetsTheValueAlongTheSliderAndDragsPastItsEnds) {
    Testing::OffscreenHost host;
    Write("XML/Window.xml",
          "<Pym::Window XPos=\"0\" YPos=\"0\" Width=\"100\" Height=\"200\">"
          "<CreateObject Name=\"Level\" XPos=\"10px\" YPos=\"50px\" Width=\"20px\" "
          "Height=\"100px\">" +
              Slider("Orientation=\"Vertical\" Min=\"10\" Max=\"20\"", 11) +
              "</CreateObject></Pym::Window>");
    TiXmlElement* root = loader.GetRootElement("XML/Window.xml");
    ASSERT_NE(root, nullptr);
    std::unique_ptr<Pym::GuiObject> window(
        Pym::CreateNamedObject(root->ValueStr(), "Window", nullptr, root));
    ASSERT_NE(window, nullptr);
    host.Pump();
    auto* slider = dynamic_cast<ObjectSlider*>(Pym::FindObject(window.get(), "Level"));
    ASSERT_NE(slider, nullptr);
    EXPECT_FALSE(slider->IsHorizontal());
    Listen(*slider);
    Testing::OffscreenWindow& native = *host.Last();

    native.Inject(Type::LeftDown, 15, 50);  // the top edge
    EXPECT_EQ(slider->GetValue(), 20);
    EXPECT_TRUE(slider->IsDragging());
    native.Inject(Type::MouseMove, 15, 149);  // the bottom edge
    EXPECT_EQ(slider->GetValue(), 10);
    native.Inject(Type::MouseMove, 15, 100);
    EXPECT_EQ(slider->GetValue(), 15);
    EXPECT_EQ(ShownIndex(*slider), 5);
    // Dragged beyond the slider, and beyond its side, it stays at its end.
    native.Inject(Type::MouseMove, 80, 190);
    EXPECT_EQ(slider->GetValue(), 10);
    native.Inject(Type::MouseMove, 80, 5);
    EXPECT_EQ(slider->GetValue(), 20);
    native.Inject(Type::LeftUp, 80, 5);
    EXPECT_FALSE(slider->IsDragging());
    native.Inject(Type::MouseMove, 15, 100);  // no button: the value stays
    EXPECT_EQ(slider->GetValue(), 20);
    EXPECT_EQ(announced, (std::vector<int>{20, 10, 15, 10, 20}));

    // A press beside the slider does not move it, however selected it is.
    native.Inject(Type::LeftDown, 60, 100);
    native.Inject(Type::LeftUp, 60, 100);
    EXPECT_EQ(slider->GetValue(), 20);

    // The wheel moves one displayed step per notch (here 1), half notches adding up.
    Platform::HostEvent wheel;
    wheel.type = Type::Wheel;
    wheel.x = 15;
    wheel.y = 100;
    wheel.delta = -240;
    native.Inject(wheel);
    EXPECT_EQ(slider->GetValue(), 18);
    wheel.delta = 60;
    native.Inject(wheel);
    EXPECT_EQ(slider->GetValue(), 18);
    native.Inject(wheel);
    EXPECT_EQ(slider->GetValue(), 19);
    wheel.x = 60;  // not over the slider
    native.Inject(wheel);
    native.Inject(wheel);
    EXPECT_EQ(slider->GetValue(), 19);
}

TEST_F(ObjectSliderTest, ReadOnlyOrEmptySliderIgnoresThePointer) {
    auto* readOnly = Build<ObjectSlider>(
        Slider("Orientation=\"Horizontal\" Min=\"0\" Max=\"100\" ReadOnly=\"true\"", 11));
    auto* empty =
        Build<ObjectSlider>(Slider("Orientation=\"Horizontal\" Min=\"0\" Max=\"100\"", 0));
    auto* volume =
        Build<ObjectSlider>(Slider("Orientation=\"Horizontal\" Min=\"0\" Max=\"100\"", 11));
    ASSERT_NE(readOnly, nullptr);
    ASSERT_NE(empty, nullptr);
    ASSERT_NE(volume, nullptr);
    for (ObjectSlider* slider : {readOnly, empty, volume}) {
        slider->Resize(100, 20);
        Listen(*slider);
    }
    Pym::Signal::LeftButtonDown press(80, 10);
    Pym::Signal::MouseWheel notch(50, 10, 120);
    for (ObjectSlider* slider : {readOnly, empty}) {
        slider->OnLeftButtonDown(press);
        slider->OnMouseWheel(notch);
        EXPECT_FALSE(slider->IsDragging());
        EXPECT_EQ(slider->GetValue(), 0);
    }
    EXPECT_TRUE(announced.empty());
    // Set by the program, a read-only slider shows its value.
    readOnly->SetValue(40);
    EXPECT_EQ(ShownIndex(*readOnly), 4);

    // Eleven positions over 0..100: a notch is ten.
    EXPECT_EQ(volume->Step(), 10);
    volume->OnMouseWheel(notch);
    EXPECT_EQ(volume->GetValue(), 10);
    EXPECT_EQ(ShownIndex(*volume), 1);
    volume->OnLeftButtonDown(press);
    EXPECT_EQ(volume->GetValue(), 80);
    EXPECT_EQ(volume->ValueAt(99, 0), 99);
    EXPECT_EQ(volume->ValueAt(-20, 0), 0);
}

}  // namespace
