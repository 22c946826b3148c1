#include <gtest/gtest.h>

#include "pym/base/Singleton.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/XmlObjectHolder.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/support/SkinFixture.h"

using namespace Pym;
using Testing::Probe;

namespace {

const bool probeRegistered = RegisterType<Probe>("Test::Probe", "");

// Builds trees from skin text through the factory, as windows and screens do.
class FactoryTest : public Testing::SkinFixture {
protected:
    GridLayout* Build(const std::string& body) {
        Write("XML/Tree.xml", body);
        TiXmlElement* root = loader.GetRootElement("XML/Tree.xml");
        EXPECT_NE(root, nullptr);
        tree = CreateNamedObject("Pym::GridLayout", "Top", nullptr, root);
        GuiObject* built = tree.get();
        return dynamic_cast<GridLayout*>(built);
    }
    GuiObject* Find(GuiObject* scope, const std::string& path) { return FindObject(scope, path); }

    XMLLoadSave loader;
    std::unique_ptr<GuiObject> tree;
};

TEST_F(FactoryTest, EveryRegisteredNameExists) {
    GlobalObjectFactory_& factory = DllGlobalObjectFactoryInstance();
    for (const char* type : {"Pym::GridLayout", "Test::Probe"})
        EXPECT_TRUE(factory.IsRegistered(type)) << type;
    EXPECT_EQ(DllDocMapInstance().GetDefaultXml("Pym::GridLayout"),
              "$PYM/Objects/GridLayout/GridLayout.xml");
    EXPECT_EQ(RegisteredTypeName<GridLayout>(), "Pym::GridLayout");
    for (const char* slot : {"Pym::GuiObject::SlotShow", "Pym::GuiObject::SlotHide",
                             "Pym::GridLayout::SlotRestartAnimation"})
        EXPECT_TRUE(factory.HasSlot(slot)) << slot;
}

TEST_F(FactoryTest, UnknownTypeOpensItsDocumentTracesAndGivesNull) {
    GridLayout* top = Build(
        "<Pym::GridLayout><CreateObject Name=\"X\" XPos=\"0\" YPos=\"0\" Width=\"1\" "
        "Height=\"1\"><Pym::Nonsense/></CreateObject>"
        "<CreateObject Name=\"Y\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
        "<Test::Probe/></CreateObject></Pym::GridLayout>");
    ASSERT_NE(top, nullptr);
    const std::string file = dir.Path().string() + "/XML/Tree.xml";
    EXPECT_TRUE(
        Traced("GlobalObjectFactory: Failed to create object of type Pym::Nonsense "
               "filename = " +
               file));
    ASSERT_EQ(Testing::TestShell().opened.size(), 1u);
    EXPECT_EQ(Testing::TestShell().opened[0], std::make_pair(file, std::string("edit")));
    EXPECT_EQ(Find(top, "X"), nullptr);
    EXPECT_NE(Find(top, "Y"), nullptr);  // the others are still made
    EXPECT_EQ(top->Children().size(), 1u);

    EXPECT_EQ(top->GetXMLObject<Probe>("X"), nullptr);
    EXPECT_TRUE(Traced("Warning: GetXMLObject: Failed to find object named X"));
    EXPECT_EQ(top->GetXMLObject<GridLayout>("Y"), nullptr);  // wrong class
    EXPECT_NE(top->GetXMLObject<Probe>("Y"), nullptr);
}

TEST_F(FactoryTest, NamesAliasesScopesAndPaths) {
    GridLayout* top = Build(
        "<Pym::GridLayout>"
        "<CreateObject Name=\"Panel\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
        "  <Pym::GridLayout>"
        "    <CreateObject Name=\"Play\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
        "      <Pym::GridLayout Name=\"Big\">"
        "        <CreateObject Name=\"Inner\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
        "          <Test::Probe/></CreateObject>"
        "      </Pym::GridLayout></CreateObject>"
        "  </Pym::GridLayout></CreateObject>"
        "<CreateObject Name=\"Side\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
        "  <Test::Probe/></CreateObject>"
        "</Pym::GridLayout>");
    ASSERT_NE(top, nullptr);
    GuiObject* panel = Find(top, "Panel");
    GuiObject* play = Find(panel, "Play");
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->GetName(), "Play");
    EXPECT_EQ(Find(top, "Play"), nullptr);  // not in an enclosing scope
    EXPECT_EQ(Find(play, "Big"), play);     // its own alias, as its own scope
    EXPECT_EQ(Find(panel, "Big"), nullptr);
    GuiObject* inner = Find(play, "Inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(Find(inner, "Side"), Find(top, "Side"));  // outward up to the top
    EXPECT_EQ(Find(top, "Panel->Play"), play);
    EXPECT_EQ(Find(top, "Panel->Play->Inner"), inner);  // every segment in turn
    EXPECT_EQ(Find(top, "Panel->Inner"), nullptr);
    EXPECT_EQ(Find(top, "Nowhere->Side"), nullptr);
    EXPECT_EQ(Find(top, "Panel->"), nullptr);
}

TEST_F(FactoryTest, ReuseSelfReferenceAndCyclesNeverLoopOrDuplicate) {
    GridLayout* top = Build(
        "<Pym::GridLayout>"
        "<CreateObject Name=\"A\" XPos=\"0\" YPos=\"0\" Width=\"0.5\" Height=\"1\">"
        "  <Test::Probe/></CreateObject>"
        "<CreateObject Name=\"A\" XPos=\"0.5\" YPos=\"0\" Width=\"0.5\" Height=\"1\">"
        "  <Test::Probe/></CreateObject>"
        "<CreateObject Name=\"Top\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
        "  <Test::Probe/></CreateObject>"
        "<CreateObject Name=\"Box\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
        "  <Pym::GridLayout>"
        "    <CreateObject Name=\"Box\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
        "      <Test::Probe/></CreateObject>"
        "  </Pym::GridLayout></CreateObject>"
        "</Pym::GridLayout>");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Children().size(), 2u);  // A once (placed again), Box
    top->Resize(200, 100);
    top->Relayout();
    EXPECT_EQ(Find(top, "A")->GetX(), 100);  // the second entry's placement holds
    GuiObject* box = Find(top, "Box");
    EXPECT_TRUE(box->Children().empty());
    EXPECT_TRUE(TracedContaining("Top would contain itself"));
    EXPECT_TRUE(TracedContaining("Box would contain itself"));

    // Code cannot make a cycle either.
    box->AddChild(top, true);
    EXPECT_EQ(top->GetParent(), nullptr);
    EXPECT_TRUE(box->Children().empty());
}

TEST_F(FactoryTest, HolderAttributesFixedPlacementAndTemplates) {
    GridLayout* top = Build(
        "<Pym::GridLayout>"
        "<CreateObject Name=\"Hidden\" Visible=\"false\" XPos=\"0\" YPos=\"0\" Width=\"1\" "
        "Height=\"1\"><Test::Probe/></CreateObject>"
        "<CreateObject Name=\"Forced\" ForceSelected=\"true\" Selectable=\"true\" XPos=\"0\" "
        "YPos=\"0\" Width=\"1\" Height=\"1\"><Pym::GridLayout/></CreateObject>"
        "<CreateObject Name=\"Fixed\" AddToLayout=\"false\" XPos=\"7\" YPos=\"8\" Width=\"9\" "
        "Height=\"10\"><Test::Probe GlobalName=\"TheFixed\" Alpha=\"0.5\" ToolTip=\"Tip\"/>"
        "</CreateObject>"
        "<CreateObject Name=\"Empty\"/>"
        "<Object Name=\"Template\"><Test::Probe Name=\"FromTemplate\"/></Object>"
        "</Pym::GridLayout>");
    ASSERT_NE(top, nullptr);
    EXPECT_FALSE(Find(top, "Hidden")->IsVisible());
    GuiObject* forced = Find(top, "Forced");
    EXPECT_TRUE(forced->IsSelected());
    EXPECT_EQ(forced->GetNotSelectable(), 0);
    GuiObject* fixed = Find(top, "Fixed");
    EXPECT_EQ(fixed->GetRect(), (GuiObject::Rect{7, 8, 9, 10}));
    EXPECT_EQ(top->GetLayoutMap().count(fixed), 0u);
    EXPECT_EQ(DllGlobalObjectFactoryInstance().FindGlobalObject("TheFixed"), fixed);
    EXPECT_FLOAT_EQ(fixed->GetAlpha(), 0.5f);
    EXPECT_EQ(fixed->ToolTipText(), "Tip");
    EXPECT_EQ(Find(top, "Empty"), nullptr);
    TiXmlElement* templ = top->FindObjectTemplate("Template");
    ASSERT_NE(templ, nullptr);
    EXPECT_STREQ(templ->Attribute("Name"), "FromTemplate");
    EXPECT_EQ(top->FindObjectTemplate("None"), nullptr);

    tree.reset();  // names of destroyed objects are forgotten
    EXPECT_EQ(DllGlobalObjectFactoryInstance().FindGlobalObject("TheFixed"), nullptr);
}

TEST_F(FactoryTest, MissingRequiredAttributesThrowWithoutLeaking) {
    EXPECT_THROW(Build("<Pym::GridLayout><CreateObject><Test::Probe/></CreateObject>"
                       "</Pym::GridLayout>"),
                 XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Attribute = Name"));
    EXPECT_THROW(Build("<Pym::GridLayout>"
                       "<CreateObject Name=\"Ok\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
                       "<Test::Probe GlobalName=\"Early\"/></CreateObject>"
                       "<CreateObject Name=\"Bad\" XPos=\"0\" YPos=\"0\" Width=\"1\">"
                       "<Test::Probe/></CreateObject></Pym::GridLayout>"),
                 XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Attribute = Height"));
    // What was built before the failure is gone with its names.
    EXPECT_EQ(DllGlobalObjectFactoryInstance().FindGlobalObject("Early"), nullptr);
}

TEST_F(FactoryTest, KeyframesAreReadWithTheirSignals) {
    Write("XML/Anim.xml",
          "<Animation><Element TimeMS=\"250\" Signal=\"Pym::Signal::Show\" Alpha=\"0.25\" "
          "XPos=\"0.1\" YPos=\"0.2\" Width=\"0.5\" Height=\"2px\"/>"
          "<Element TimeMS=\"10\" Signal=\"Pym::Signal::Bogus\"/></Animation>");
    AnimationPtr animation =
        XmlObjectHolder::CreateAnimation(loader.GetRootElement("XML/Anim.xml"));
    ASSERT_EQ(animation->size(), 2u);
    const Keyframe& first = (*animation)[0];
    EXPECT_FLOAT_EQ(first.timeMs, 250.0f);
    EXPECT_EQ(first.signal, "Pym::Signal::Show");
    EXPECT_FLOAT_EQ(*first.alpha, 0.25f);
    EXPECT_TRUE(first.HasPlacement());
    EXPECT_EQ(*first.height, GridVal(2.0f, 0.0f));
    EXPECT_FALSE((*animation)[1].alpha.has_value());
    EXPECT_FALSE((*animation)[1].HasPlacement());
    EXPECT_TRUE(
        Traced("Pym::XmlObjectHolder::CreateAnimationElement - Failed to create "
               "signal Pym::Signal::Bogus"));
}

TEST(FactoryShutdownTest, ObjectsDestroyedAfterShutdownLeaveTheRegistryAlone) {
    EXPECT_EXIT(
        {
            auto object = std::make_unique<Probe>("late");
            GlobalObjectFactory_& factory = DllGlobalObjectFactoryInstance();
            factory.RegisterScopedName(object.get(), "self", object.get());
            DllPymInitInstance();
            Singleton<_PymInit>::Destroy();
            bool ok = factory.IsShuttingDown() && FindObject(object.get(), "self") == nullptr;
            object.reset();
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
