#include <gtest/gtest.h>

#include "pym/core/DocMap.h"
#include "pym/core/XMLLoadSave.h"
#include "tests/support/SkinFixture.h"

using Pym::XMLLoadSave;

namespace {

class BaseXmlTest : public Testing::SkinFixture {
protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteLibrary("Objects/Button/Button.xml",
                     "<Pym::Button Name=\"A\" Color=\"1,2,3,4\" Width=\"10px\">"
                     "<Font Family=\"Inter\" Size=\"12\" Style=\"Bold\"/>"
                     "</Pym::Button>");
        Pym::DllDocMapInstance().SetDefaultXml("Pym::Button", "$PYM/Objects/Button/Button.xml");
    }

    std::vector<std::string> ChildTags(const TiXmlElement* element) {
        std::vector<std::string> tags;
        for (const TiXmlElement* c = element->FirstChildElement(); c; c = c->NextSiblingElement())
            tags.push_back(c->ValueStr() +
                           (c->Attribute("Name") ? ":" + std::string(c->Attribute("Name")) : ""));
        return tags;
    }
};

TEST_F(BaseXmlTest, InheritingElementLaysItsAttributesAndChildrenOverTheBase) {
    Write("XML/Main.xml",
          "<Window><Pym::Button BaseXML=\"default\" Name=\"B\" Color=\"9,9,9,9\">"
          "<Label Text=\"hi\"/></Pym::Button></Window>");
    XMLLoadSave loader;
    TiXmlElement* window = loader.GetRootElement("XML/Main.xml");
    ASSERT_NE(window, nullptr);
    TiXmlElement* button = loader.GetChildElement(window, "Pym::Button");
    ASSERT_NE(button, nullptr);

    EXPECT_STREQ(button->Attribute("Name"), "B");
    EXPECT_STREQ(button->Attribute("Color"), "9,9,9,9");
    EXPECT_STREQ(button->Attribute("Width"), "10px");  // the base's own stays
    EXPECT_EQ(button->Attribute("BaseXML"), nullptr);
    EXPECT_EQ(XMLLoadSave::InheritedValue(button, "Color"), "1,2,3,4");
    // The old name survives as an alias, ahead of the inheriting element's children.
    EXPECT_EQ(ChildTags(button), (std::vector<std::string>{"Font", "Alias:A", "Label"}));
    EXPECT_TRUE(XMLLoadSave::MatchesName(button, "A"));
    EXPECT_TRUE(XMLLoadSave::MatchesName(button, "B"));
    EXPECT_FALSE(XMLLoadSave::MatchesName(button, "C"));

    // The inheriting element itself is untouched.
    const TiXmlElement* original = window->FirstChildElement("Pym::Button");
    EXPECT_STREQ(original->Attribute("BaseXML"), "default");
    EXPECT_EQ(ChildTags(original), (std::vector<std::string>{"Label"}));
}

TEST_F(BaseXmlTest, ChainsResolveAtAnyDepthAndEachLookupLoadsAgain) {
    WriteLibrary("Middle.xml",
                 "<Middle BaseXML=\"$PYM/Objects/Button/Button.xml\" Width=\"20px\"/>");
    Write("XML/Main.xml", "<Window><Item BaseXML=\"$PYM/Middle.xml\" Height=\"5px\"/></Window>");
    XMLLoadSave loader;
    TiXmlElement* window = loader.GetRootElement("XML/Main.xml");
    TiXmlElement* first = loader.GetChildElement(window, "Item");
    TiXmlElement* second = loader.GetChildElement(window, "Item");
    EXPECT_NE(first, second);
    EXPECT_STREQ(first->Attribute("Width"), "20px");
    EXPECT_STREQ(first->Attribute("Height"), "5px");
    EXPECT_STREQ(first->Attribute("Color"), "1,2,3,4");
    EXPECT_EQ(first->ValueStr(), "Pym::Button");
}

TEST_F(BaseXmlTest, BorrowedDocumentsAreReleasedWithTheirBorrower) {
    Write("XML/Main.xml", "<Window><Pym::Button BaseXML=\"default\"/></Window>");
    auto& map = Pym::DllDocMapInstance();
    XMLLoadSave rootLoader;
    TiXmlElement* window = rootLoader.GetRootElement("XML/Main.xml");
    std::size_t before = map.DocumentCount();
    {
        XMLLoadSave borrower;
        borrower.GetChildElement(window, "Pym::Button");
        borrower.GetChildElements(window);
        EXPECT_EQ(borrower.BorrowedDocuments().size(), 2u);
        EXPECT_EQ(map.DocumentCount(), before + 2);
        XMLLoadSave copy(borrower);  // a copy borrows nothing
        EXPECT_TRUE(copy.BorrowedDocuments().empty());
    }
    EXPECT_EQ(map.DocumentCount(), before);
}

TEST_F(BaseXmlTest, DefaultWithoutRegistrationOrMissingBaseThrows) {
    Write(
        "XML/Main.xml",
        "<Window><Unregistered BaseXML=\"default\"/><Lost BaseXML=\"XML/Nowhere.xml\"/></Window>");
    XMLLoadSave loader;
    TiXmlElement* window = loader.GetRootElement("XML/Main.xml");
    EXPECT_THROW(loader.GetChildElement(window, "Unregistered"), Pym::XMLLoadSaveException);
    EXPECT_THROW(loader.GetChildElement(window, "Lost"), Pym::XMLLoadSaveException);
    EXPECT_TRUE(Traced("XML/Nowhere.xml is missing"));
    EXPECT_TRUE(TracedContaining("Unregistered, a type with no default document"));
}

TEST_F(BaseXmlTest, InheritanceCyclesAreReportedAsCycles) {
    Write("XML/Self.xml", "<Self BaseXML=\"XML/Self.xml\"/>");
    Write("XML/A.xml", "<A BaseXML=\"XML/B.xml\"/>");
    Write("XML/B.xml", "<B BaseXML=\"XML/A.xml\"/>");
    // Inheriting one's own document from a child is fine: the root does not inherit.
    Write("XML/Fine.xml", "<Fine Name=\"F\"><Child BaseXML=\"XML/Fine.xml\"/></Fine>");
    XMLLoadSave loader;
    EXPECT_THROW(loader.RequireRootElement("XML/Self.xml"), Pym::XMLLoadSaveException);
    EXPECT_TRUE(Traced("XML/Self.xml inherits from itself (a BaseXML cycle)"));
    EXPECT_THROW(loader.GetRootElement("XML/A.xml"), Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("BaseXML cycle"));

    TiXmlElement* fine = loader.GetRootElement("XML/Fine.xml");
    TiXmlElement* child = loader.GetChildElement(fine, "Child");
    EXPECT_EQ(child->ValueStr(), "Fine");
}

TEST_F(BaseXmlTest, WritesToCopiedNodesReachTheirSource) {
    Write("XML/Main.xml",
          "<Window><Pym::Button BaseXML=\"default\"><Label Text=\"old\"><Inner/></Label>"
          "</Pym::Button></Window>");
    XMLLoadSave loader;
    TiXmlElement* window = loader.GetRootElement("XML/Main.xml");
    TiXmlElement* button = loader.GetChildElement(window, "Pym::Button");
    TiXmlElement* copiedLabel = button->FirstChildElement("Label");
    ASSERT_NE(copiedLabel, nullptr);
    XMLLoadSave::WriteAttribute("new", copiedLabel, "Text");
    XMLLoadSave::WriteAttribute(7, copiedLabel->FirstChildElement("Inner"), "Depth");

    const TiXmlElement* sourceLabel =
        window->FirstChildElement("Pym::Button")->FirstChildElement("Label");
    EXPECT_STREQ(sourceLabel->Attribute("Text"), "new");
    EXPECT_STREQ(sourceLabel->FirstChildElement("Inner")->Attribute("Depth"), "7");
    EXPECT_TRUE(Pym::Document::Of(window)->modified);
    // The base's own elements are not copies: nothing to carry.
    XMLLoadSave::WriteAttribute("Italic", button->FirstChildElement("Font"), "Style");
    EXPECT_EQ(window->FirstChildElement("Pym::Button")->FirstChildElement("Font"), nullptr);
}

TEST_F(BaseXmlTest, ContextLinksAreLookedUpThroughIncludingDocuments) {
    Write("XML/Main.xml", "<Window><Pym::Button BaseXML=\"default\"/></Window>");
    Write("XML/Tip.xml", "<Tip/>");
    XMLLoadSave loader;
    TiXmlElement* window = loader.GetRootElement("XML/Main.xml");
    auto* owner = reinterpret_cast<Pym::GuiObject*>(0x1234);
    auto* manager = reinterpret_cast<Pym::ScreenManager*>(0x5678);
    Pym::Document::Of(window)->ownerWindow = owner;
    Pym::Document::Of(window)->ownerScreenManager = manager;

    TiXmlElement* button = loader.GetChildElement(window, "Pym::Button");
    Pym::Document* base = Pym::Document::Of(button);
    EXPECT_EQ(base->ownerWindow, nullptr);
    EXPECT_EQ(base->LookupOwnerWindow(), owner);
    EXPECT_EQ(base->LookupOwnerScreenManager(), manager);

    TiXmlElement* tip = loader.GetRootElement("XML/Tip.xml", button);
    EXPECT_EQ(Pym::Document::Of(tip)->ownerWindow, owner);
    EXPECT_EQ(Pym::Document::Of(tip)->ownerScreenManager, manager);
    EXPECT_EQ(Pym::Document::Of(loader.GetRootElement("XML/Tip.xml"))->LookupOwnerWindow(),
              nullptr);
}

}  // namespace
