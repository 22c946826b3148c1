#include <gtest/gtest.h>

#include "pym/core/XMLLoadSaveException.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/PackedLayout.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/support/SkinFixture.h"

using namespace Pym;
using Testing::Probe;
using Testing::Sized;

namespace {

using Rect = GuiObject::Rect;

TEST(PackedLayoutTest, VerticalPackingStacksChildrenAsWideAsTheLayoutInTabRows) {
    PackedLayout layout;
    layout.Resize(80, 200);
    Sized a("a", 10, 20), b("b", 30, 30), c("c", 5, 10);
    for (Sized* child : {&a, &b, &c}) layout.AddToLayout(child, nullptr, nullptr);
    EXPECT_EQ(a.GetRect(), (Rect{0, 0, 80, 20}));
    EXPECT_EQ(b.GetRect(), (Rect{0, 20, 80, 30}));
    EXPECT_EQ(c.GetRect(), (Rect{0, 50, 80, 10}));
    EXPECT_EQ(layout.NextOffset(), 60);
    ASSERT_EQ(layout.TabStops().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(layout.TabStops()[i].column, 0);
        EXPECT_EQ(layout.TabStops()[i].row, i);
    }
    EXPECT_TRUE(a.IsSelected());  // the first tab stop
    // Placed by its own parent later, the layout keeps its children as wide as itself.
    layout.Resize(120, 200);
    layout.Relayout();
    EXPECT_EQ(b.GetRect(), (Rect{0, 20, 120, 30}));
}

TEST(PackedLayoutTest, HorizontalPackingRunsLeftToRightAndBothGrowsTheLayoutToItsChildren) {
    PackedLayout layout;
    layout.SetPacking(false);
    layout.SetExpanding(PackedLayout::ExpandBoth);
    Sized a("a", 40, 20), b("b", 25, 35);
    layout.AddToLayout(&a, nullptr, nullptr);
    EXPECT_EQ(layout.GetRect(), (Rect{0, 0, 40, 20}));
    layout.AddToLayout(&b, nullptr, nullptr);
    EXPECT_EQ(a.GetRect(), (Rect{0, 0, 40, 20}));
    EXPECT_EQ(b.GetRect(), (Rect{40, 0, 25, 35}));
    EXPECT_EQ(layout.GetRect(), (Rect{0, 0, 40, 35}));
    ASSERT_EQ(layout.TabStops().size(), 2u);
    EXPECT_EQ(layout.TabStops()[1].column, 1);
    EXPECT_EQ(layout.TabStops()[1].row, 0);
}

class PackedLayoutXmlTest : public Testing::SkinFixture {
protected:
    std::unique_ptr<GuiObject> Build(const std::string& xml) {
        Write("XML/Packed.xml", xml);
        TiXmlElement* root = loader.GetRootElement("XML/Packed.xml");
        if (!root) return nullptr;
        return std::unique_ptr<GuiObject>(
            CreateNamedObject(root->ValueStr(), "Packed", nullptr, root));
    }
    XMLLoadSave loader;
};

TEST_F(PackedLayoutXmlTest, TheSkinTemplatePacksVerticallyAndPackingTypeIsRequired) {
    WriteLibrary("Objects/PackedLayout/PackedLayout.xml",
                 Testing::ReadFile(std::string(ONDREL_SOURCE_DIR) +
                                   "/skin/lib/PYM/XML/Objects/PackedLayout/PackedLayout.xml"));
    auto built = Build(
        "<Pym::PackedLayout BaseXML=\"default\">"
        "<CreateObject Name=\"One\"><Pym::GridLayout/></CreateObject>"
        "<CreateObject Name=\"Two\"><Pym::GridLayout/></CreateObject>"
        "</Pym::PackedLayout>");
    auto* packed = dynamic_cast<PackedLayout*>(built.get());
    ASSERT_NE(packed, nullptr);
    EXPECT_TRUE(packed->PacksVertically());
    EXPECT_EQ(packed->GetExpanding(), PackedLayout::ExpandNone);
    EXPECT_EQ(packed->TabStops().size(), 2u);

    auto horizontal =
        Build("<Pym::PackedLayout PackingType=\"Horizontal\" ExpandingType=\"Both\"/>");
    auto* across = dynamic_cast<PackedLayout*>(horizontal.get());
    ASSERT_NE(across, nullptr);
    EXPECT_FALSE(across->PacksVertically());
    EXPECT_EQ(across->GetExpanding(), PackedLayout::ExpandBoth);

    EXPECT_THROW(Build("<Pym::PackedLayout ExpandingType=\"Both\"/>"), XMLLoadSaveException);
}

}  // namespace
