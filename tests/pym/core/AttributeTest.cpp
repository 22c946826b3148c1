#include <gtest/gtest.h>

#include "pym/core/AttributeText.h"
#include "pym/core/DocMap.h"
#include "pym/core/XMLLoadSave.h"
#include "tests/support/SkinFixture.h"

using Pym::XMLLoadSave;

namespace {

class AttributeTest : public Testing::SkinFixture {
protected:
    // Loads a document from text and returns its root.
    TiXmlElement* Load(const std::string& xml) {
        Write("XML/Doc.xml", xml);
        TiXmlElement* root = loader.GetRootElement("XML/Doc.xml");
        EXPECT_NE(root, nullptr);
        return root;
    }
    static TiXmlElement* Find(TiXmlElement* element, const std::string& name) {
        if (const char* own = element->Attribute("Name"); own && name == own) return element;
        for (TiXmlElement* c = element->FirstChildElement(); c; c = c->NextSiblingElement())
            if (TiXmlElement* found = Find(c, name)) return found;
        return nullptr;
    }

    XMLLoadSave loader;
};

TEST_F(AttributeTest, ScalarConversionsFollowTheirTextRules) {
    TiXmlElement* e = Load(
        "<E F1=\"2.5xyz\" F2=\"abc\" I1=\"42abc\" I2=\"-7\" B1=\"true\" B2=\"True\" B3=\"TRUE\" "
        "B4=\"1\" B5=\"yes\" S1=\"12\" S2=\"12.5\" S3=\"x\" Style1=\"Bold\" Style2=\"Heavy\"/>");
    float f = -1;
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(f, e, "F1"));
    EXPECT_FLOAT_EQ(f, 2.5f);
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(f, e, "F2"));
    EXPECT_FLOAT_EQ(f, 0.0f);
    int i = -1;
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(i, e, "I1"));
    EXPECT_EQ(i, 42);
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(i, e, "I2"));
    EXPECT_EQ(i, -7);

    bool b = false;
    for (const char* name : {"B1", "B2"}) {
        b = false;
        EXPECT_TRUE(XMLLoadSave::ReadAttribute(b, e, name));
        EXPECT_TRUE(b) << name;
    }
    for (const char* name : {"B3", "B4", "B5"}) {
        b = true;
        EXPECT_TRUE(XMLLoadSave::ReadAttribute(b, e, name));
        EXPECT_FALSE(b) << name;
    }

    // The strict integer keeps its value on text that is not a whole number, and still counts
    // the read as found.
    int strict = 99;
    EXPECT_TRUE(XMLLoadSave::ReadAttributeStrict(strict, e, "S1"));
    EXPECT_EQ(strict, 12);
    EXPECT_TRUE(XMLLoadSave::ReadAttributeStrict(strict, e, "S2"));
    EXPECT_EQ(strict, 12);
    EXPECT_TRUE(XMLLoadSave::ReadAttributeStrict(strict, e, "S3"));
    EXPECT_EQ(strict, 12);

    Pym::FontStyle style = Pym::FontStyleItalic;
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(style, e, "Style1"));
    EXPECT_EQ(style, Pym::FontStyleBold);
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(style, e, "Style2"));
    EXPECT_EQ(style, Pym::FontStyleRegular);

    // A missing optional attribute leaves the target alone.
    i = 5;
    EXPECT_FALSE(XMLLoadSave::ReadAttribute(i, e, "Absent"));
    EXPECT_EQ(i, 5);
    EXPECT_FALSE(XMLLoadSave::ReadAttribute(i, nullptr, "I1"));
}

TEST_F(AttributeTest, WrittenValuesReadBackTheSame) {
    TiXmlElement* e = Load("<E/>");
    XMLLoadSave::WriteAttribute(0.1f, e, "F");
    XMLLoadSave::WriteAttribute(2.5f, e, "G");
    XMLLoadSave::WriteAttribute(true, e, "B");
    XMLLoadSave::WriteAttribute("text", e, "S");
    XMLLoadSave::WriteAttribute(Pym::ColourValue{255, 255, 0, 0}, e, "C");
    XMLLoadSave::WriteAttribute(Pym::FontStyleBold, e, "Style");
    XMLLoadSave::WriteAttribute(static_cast<Pym::FontStyle>(3), e, "Combined");
    EXPECT_STREQ(e->Attribute("F"), "0.1");
    EXPECT_STREQ(e->Attribute("G"), "2.5");
    EXPECT_STREQ(e->Attribute("B"), "True");
    EXPECT_STREQ(e->Attribute("S"), "text");
    EXPECT_STREQ(e->Attribute("C"), "255,0,0,255");
    EXPECT_STREQ(e->Attribute("Style"), "Bold");
    EXPECT_STREQ(e->Attribute("Combined"), "Regular");
    EXPECT_FALSE(XMLLoadSave::WriteAttribute(1, nullptr, "X"));

    Pym::ColourPtr colour;
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(colour, e, "C"));
    ASSERT_TRUE(colour);
    EXPECT_EQ(*colour, (Pym::ColourValue{255, 255, 0, 0}));
}

TEST_F(AttributeTest, ColourPiecesBeyondFourAreIgnoredAndMissingAlphaIsOpaque) {
    using Pym::AttributeText::ParseColour;
    EXPECT_EQ(ParseColour("1,2,3,4,5,6"), (Pym::ColourValue{4, 1, 2, 3}));
    EXPECT_EQ(ParseColour("10,20,30"), (Pym::ColourValue{255, 10, 20, 30}));
    EXPECT_EQ(ParseColour(""), (Pym::ColourValue{255, 0, 0, 0}));
    EXPECT_EQ(ParseColour("x,7"), (Pym::ColourValue{255, 0, 7, 0}));
}

TEST_F(AttributeTest, LibraryTokenExpandsInEveryValue) {
    TiXmlElement* e = Load("<E Image=\"$PYM/images/a.png\"/>");
    std::string text;
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(text, e, "Image"));
    EXPECT_EQ(text, Pym::DllDocMapInstance().LibraryRoot() + "//images/a.png");
}

TEST_F(AttributeTest, ReferencesTakeTheNearestEnclosingNamedValue) {
    TiXmlElement* root = Load(
        "<Window Name=\"Panel\" Color=\"1,1,1,1\" Size=\"5\">"
        "  <Box Name=\"Panel\" Color=\"2,2,2,2\"><Alias Name=\"Other\"/>"
        "    <Item Name=\"item\" Color=\"$Panel!Color!\" Both=\"$Panel!Size!-$Other!Color!\""
        "          Lost=\"$Nobody!Color!\" Partial=\"$Panel!Size!$Nobody!Color!\""
        "          Chain=\"$Panel!Indirect!\"/>"
        "  </Box>"
        "</Window>");
    TiXmlElement* box = root->FirstChildElement("Box");
    box->SetAttribute("Indirect", "$Panel!Size!");
    root->SetAttribute("Name", "Window");
    TiXmlElement* item = Find(root, "item");
    ASSERT_NE(item, nullptr);

    std::string text;
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(text, item, "Color"));
    EXPECT_EQ(text, "2,2,2,2");
    // Box has no "Size", so the search goes on outward... to an element named Window now.
    EXPECT_FALSE(XMLLoadSave::ReadAttribute(text, item, "Both"));
    root->SetAttribute("Name", "Panel");
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(text, item, "Both"));
    EXPECT_EQ(text, "5-2,2,2,2");

    // A first reference that resolves nowhere fails the read, and a required read reports.
    text = "unchanged";
    EXPECT_FALSE(XMLLoadSave::ReadAttribute(text, item, "Lost"));
    EXPECT_EQ(text, "unchanged");
    EXPECT_THROW(XMLLoadSave::ReadAttribute(text, item, "Lost", true), Pym::XMLLoadSaveException);
    // After one substitution, an unresolvable one stays as written.
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(text, item, "Partial"));
    EXPECT_EQ(text, "5$Nobody!Color!");
    // Substituted values are substituted again.
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(text, item, "Chain"));
    EXPECT_EQ(text, "5");
}

TEST_F(AttributeTest, ValueReferringToItselfEndsInsteadOfLooping) {
    TiXmlElement* root =
        Load("<Window Name=\"W\" Loop=\"$W!Loop!\"><Item Name=\"i\" V=\"$W!Loop!\"/></Window>");
    std::string text;
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(text, root->FirstChildElement("Item"), "V"));
    EXPECT_EQ(text, "$W!Loop!");
    EXPECT_TRUE(TracedContaining("references nest too deeply"));
}

TEST_F(AttributeTest, ReferencesReachIntoTheInheritingDocument) {
    WriteLibrary("Objects/Label/Label.xml",
                 "<Label Color=\"$Panel!Color!\"><Part Name=\"p\" Size=\"$Panel!Size!\"/></Label>");
    Pym::DllDocMapInstance().SetDefaultXml("Label", "$PYM/Objects/Label/Label.xml");
    TiXmlElement* root = Load(
        "<Window Name=\"Panel\" Color=\"7,7,7,7\" Size=\"3\"><Label "
        "BaseXML=\"default\"/></Window>");
    TiXmlElement* label = loader.GetChildElement(root, "Label");
    std::string text;
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(text, label, "Color"));
    EXPECT_EQ(text, "7,7,7,7");
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(text, label->FirstChildElement("Part"), "Size"));
    EXPECT_EQ(text, "3");
}

TEST_F(AttributeTest, MissingRequiredValueReportsItsPlace) {
    TiXmlElement* root = Load("<Root><Panel><Button/></Panel></Root>");
    TiXmlElement* button = root->FirstChildElement("Panel")->FirstChildElement("Button");
    std::string text;
    EXPECT_THROW(XMLLoadSave::ReadAttribute(text, button, "Image", true),
                 Pym::XMLLoadSaveException);
    EXPECT_EQ(traces.back(), "XML Error: Filename = " + Pym::DllDocMapInstance().StartDirectory() +
                                 "/XML/Doc.xml Root -> Panel -> Button ->  Element = Button "
                                 "Attribute = Image");
    EXPECT_THROW(loader.GetChildElement(button, "Missing"), Pym::XMLLoadSaveException);
    EXPECT_NE(traces.back().find("Element = Button Attribute = Missing"), std::string::npos);
}

TEST_F(AttributeTest, ChildLookupsSeePastCommentsAndText) {
    TiXmlElement* root = Load(
        "<Root>text<!-- a comment --><First/>more text<!-- another --><Second Name=\"s\"/>"
        "<Alias Name=\"aka\"/></Root>");
    EXPECT_EQ(loader.GetChildElement(root, "Second")->ValueStr(), "Second");
    EXPECT_EQ(loader.GetChildElement(root, "")->ValueStr(), "First");
    EXPECT_TRUE(XMLLoadSave::HasChildElement(root, "Second"));
    EXPECT_FALSE(XMLLoadSave::HasChildElement(root, "Third"));
    EXPECT_FALSE(XMLLoadSave::HasChildElement(root, ""));
    EXPECT_EQ(loader.GetChildOrSelf(root, "Third"), root);
    EXPECT_EQ(loader.GetChildElements(root).size(), 3u);
    EXPECT_EQ(loader.GetChildElements(root, "Second").size(), 1u);
    EXPECT_TRUE(XMLLoadSave::MatchesName(root, "aka"));

    TiXmlElement* added = XMLLoadSave::AddChildElement(root, "Added");
    EXPECT_EQ(root->LastChild(), added);
    EXPECT_EQ(XMLLoadSave::AddChildElement(nullptr, "Added"), nullptr);
}

TEST_F(AttributeTest, FontsReadTheirFourPartsAndWriteThree) {
    TiXmlElement* root = Load(
        "<Root><Font Family=\"Inter\" Size=\"0.05\" Style=\"Italic\" Conversion=\"Width\"/>"
        "<Point Family=\"DejaVu Sans\" Size=\"12\" Style=\"Bold\" Conversion=\"Point\"/>"
        "<Plain Family=\"Inter\" Size=\"10\" Style=\"Regular\"/>"
        "<NoSize Family=\"Inter\" Style=\"Regular\"/></Root>");
    Pym::FontPtr font;
    XMLLoadSave::ReadFont(font, root->FirstChildElement("Font"));
    ASSERT_TRUE(font);
    EXPECT_EQ(*font,
              (Pym::FontDescription{"Inter", 0.05f, Pym::FontStyleItalic, Pym::FontSizeWidth}));
    XMLLoadSave::ReadFont(font, root->FirstChildElement("Point"));
    EXPECT_EQ(font->conversion, Pym::FontSizePoint);
    XMLLoadSave::ReadFont(font, root->FirstChildElement("Plain"));
    EXPECT_EQ(font->conversion, Pym::FontSizeHeight);
    Pym::FontPtr kept = font;
    EXPECT_THROW(XMLLoadSave::ReadFont(font, root->FirstChildElement("NoSize")),
                 Pym::XMLLoadSaveException);
    EXPECT_EQ(font, kept);

    TiXmlElement* out = XMLLoadSave::AddChildElement(root, "Out");
    XMLLoadSave::WriteFont({"Inter", 14.5f, Pym::FontStyleUnderline, Pym::FontSizeWidth}, out);
    EXPECT_STREQ(out->Attribute("Family"), "Inter");
    EXPECT_STREQ(out->Attribute("Size"), "14.5");
    EXPECT_STREQ(out->Attribute("Style"), "Underline");
    EXPECT_EQ(out->Attribute("Conversion"), nullptr);
}

TEST_F(AttributeTest, NonAsciiTextSurvivesUnchanged) {
    TiXmlElement* e = Load("<?xml version=\"1.0\" encoding=\"UTF-8\"?><E Title=\"Größe ♩ 120\"/>");
    std::string text;
    EXPECT_TRUE(XMLLoadSave::ReadAttribute(text, e, "Title"));
    EXPECT_EQ(text, "Größe ♩ 120");
}

}  // namespace
