#include "pym/core/DocMap.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "pym/core/XMLLoadSave.h"
#include "tests/support/SkinFixture.h"

using Pym::DllDocMapInstance;

namespace {

class DocMapTest : public Testing::SkinFixture {
protected:
    std::string Root() const { return DllDocMapInstance().LibraryRoot(); }
    std::string Start() const { return DllDocMapInstance().StartDirectory(); }
};

TEST_F(DocMapTest, SearchPathFollowsStartDirectoryAndLibraryVariable) {
    EXPECT_EQ(Start(), dir.Path().string());
    EXPECT_EQ(Root(), (dir.Path() / "lib/PYM/XML").string());

    // A variable that names a folder without lib/PYM/XML falls back to ../lib/PYM/XML.
    setenv("ONDREL_LIB", "/nonexistent-ondrel", 1);
    DllDocMapInstance().ResetSearchPath();
    EXPECT_EQ(Root(), (dir.Path().parent_path() / "lib/PYM/XML").string());
    unsetenv("ONDREL_LIB");
    DllDocMapInstance().ResetSearchPath();
    EXPECT_EQ(Root(), (dir.Path().parent_path() / "lib/PYM/XML").string());
}

TEST_F(DocMapTest, ReferencesResolveByTokenDriveOrStartDirectory) {
    auto& map = DllDocMapInstance();
    EXPECT_EQ(map.ResolvePath("$PYM/Objects/Window/Window.xml"),
              Root() + "//Objects/Window/Window.xml");
    EXPECT_EQ(map.ResolvePath("junk/$PYM/Objects/Text/Text.xml"),
              map.ResolvePath("$PYM/Objects/Text/Text.xml"));
    EXPECT_EQ(map.ResolvePath("C:/skins/Main.xml"), "C:/skins/Main.xml");
    EXPECT_EQ(map.ResolvePath("/usr/share/skins/Main.xml"), "/usr/share/skins/Main.xml");
    EXPECT_EQ(map.ResolvePath("XML/Main/MessageBox.xml"), Start() + "/XML/Main/MessageBox.xml");
    EXPECT_EQ(map.ResolvePath("anything", true), "anything");

    EXPECT_EQ(map.ExpandLibraryPath("$PYM/images/a.png"), Root() + "//images/a.png");
    EXPECT_EQ(map.ExpandLibraryPath("plain"), "plain");

    std::string resource = "$PYM/images/a.png";
    map.ResolveResourcePath(resource);
    EXPECT_EQ(resource, Root() + "//images/a.png");
    resource = "images/b.png";
    map.ResolveResourcePath(resource);
    EXPECT_EQ(resource, Start() + "/images/b.png");
    resource = "/srv/images/d.png";
    map.ResolveResourcePath(resource);
    EXPECT_EQ(resource, "/srv/images/d.png");
    resource = "http://example.invalid/c.png";
    map.ResolveResourcePath(resource);
    EXPECT_EQ(resource, "http://example.invalid/c.png");
}

TEST_F(DocMapTest, EveryLoadIsAFreshDocumentOwnedByTheMap) {
    Write("XML/A.xml", "<Root Name=\"A\"/>");
    auto& map = DllDocMapInstance();
    std::size_t before = map.DocumentCount();
    Pym::Document* first = map.GetDocument("XML/A.xml");
    Pym::Document* second = map.GetDocument("XML/A.xml");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(map.DocumentCount(), before + 2);
    EXPECT_EQ(first->ValueStr(), Start() + "/XML/A.xml");
    map.Release(first);
    map.Release(second);
    EXPECT_EQ(map.DocumentCount(), before);
}

std::string Printed(const TiXmlNode& node) {
    TiXmlPrinter printer;
    node.Accept(&printer);
    return printer.Str();
}

TEST_F(DocMapTest, KeptParsesGiveEveryCallItsOwnCopyOfTheFileAsItIsNow) {
    Write("XML/A.xml",
          "<?xml version=\"1.0\" standalone=\"yes\"?>\n<!DOCTYPE skin>\n<Root Name=\"A\" "
          "T=\"&lt;&amp;\">\n  <!-- dropped -->\n  <Child>text<![CDATA[<raw>]]></Child>\n</Root>");
    auto& map = DllDocMapInstance();
    map.KeepParsedFiles(true);
    Pym::Document* first = map.GetDocument("XML/A.xml");
    Pym::Document* second = map.GetDocument("XML/A.xml");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(second->ValueStr(), Start() + "/XML/A.xml");
    EXPECT_EQ(Printed(*second), Printed(*first));
    EXPECT_EQ(Printed(*second).find("dropped"), std::string::npos);
    const TiXmlElement* child = second->RootElement()->FirstChildElement("Child");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Row(), 5);
    first->RootElement()->SetAttribute("Name", "Changed");
    first->RootElement()->Clear();
    EXPECT_STREQ(second->RootElement()->Attribute("Name"), "A");
    Pym::Document* third = map.GetDocument("XML/A.xml");
    EXPECT_EQ(Printed(*third), Printed(*second));

    Write("XML/A.xml", "<Root Name=\"B\"/>");
    Pym::Document* edited = map.GetDocument("XML/A.xml");
    map.KeepParsedFiles(false);
    ASSERT_NE(edited, nullptr);
    EXPECT_STREQ(edited->RootElement()->Attribute("Name"), "B");
    for (Pym::Document* document : {first, second, third, edited}) map.Release(document);
}

TEST_F(DocMapTest, MissingMalformedOrDirectoryDocumentsLoadQuietlyAsNothing) {
    Write("XML/Broken.xml", "<Root><Unclosed></Root>");
    dir.Write("XML/Folder.xml/inside", "");
    // Deep enough to overflow a recursive parser's stack; a FIFO would block open() for ever.
    std::string deep;
    for (int i = 0; i < 50000; ++i) deep += "<a>";
    for (int i = 0; i < 50000; ++i) deep += "</a>";
    Write("XML/Deep.xml", deep);
    ASSERT_EQ(mkfifo((dir.Path() / "XML/Fifo.xml").c_str(), 0600), 0);
    auto& map = DllDocMapInstance();
    for (const char* reference :
         {"XML/Missing.xml", "XML/Broken.xml", "XML/Folder.xml", "XML/Deep.xml", "XML/Fifo.xml"}) {
        traces.clear();
        EXPECT_EQ(map.GetDocument(reference), nullptr) << reference;
        EXPECT_TRUE(
            Traced("DocMap::GetDocument - failed to load XML file " + Start() + "/" + reference))
            << reference;
    }
    Pym::XMLLoadSave loader;
    EXPECT_EQ(loader.GetRootElement("XML/Missing.xml"), nullptr);
    EXPECT_TRUE(Testing::TestShell().opened.empty());
}

TEST_F(DocMapTest, RequiredDocumentIsReportedOpenedForEditAndThrows) {
    Pym::XMLLoadSave loader;
    EXPECT_THROW(loader.RequireRootElement("XML/Missing.xml"), Pym::XMLLoadSaveException);
    EXPECT_TRUE(Traced("XML/Missing.xml is missing"));
    ASSERT_EQ(Testing::TestShell().opened.size(), 1u);
    // The reference as written, not the resolved path.
    EXPECT_EQ(Testing::TestShell().opened[0].first, "XML/Missing.xml");
    EXPECT_EQ(Testing::TestShell().opened[0].second, "edit");
    try {
        loader.RequireRootElement("XML/Missing.xml");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(),
                     "XMLLoadSaveException - no working xml config files found in search path");
    }
}

TEST_F(DocMapTest, DefaultXmlRegistryKeepsTheFirstEntry) {
    auto& map = DllDocMapInstance();
    map.SetDefaultXml("Test::Widget", "$PYM/Objects/Widget/Widget.xml");
    map.SetDefaultXml("Test::Widget", "$PYM/Other.xml");
    EXPECT_EQ(map.GetDefaultXml("Test::Widget"), "$PYM/Objects/Widget/Widget.xml");
    EXPECT_EQ(map.GetDefaultXml("Test::Unregistered"), "");
}

TEST_F(DocMapTest, OrdinaryNestingQuotesCommentsAndCrLfStillLoad) {
    std::string nested = "<?xml version=\"1.0\"?>\r\n<!-- <a><a><a> -->\r\n";
    for (int i = 0; i < 200; ++i) nested += "<a T=\"/>\"><b/><![CDATA[<c><c>]]>";
    for (int i = 0; i < 200; ++i) nested += "</a>";
    Write("XML/Nested.xml", nested);
    Pym::Document* document = DllDocMapInstance().GetDocument("XML/Nested.xml");
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->RootElement()->Attribute("T"), std::string("/>"));
    DllDocMapInstance().Release(document);
}

TEST_F(DocMapTest, RootDocumentWithoutElementsGivesNoRoot) {
    Write("XML/Empty.xml", "<?xml version=\"1.0\"?><!-- nothing here -->");
    Pym::XMLLoadSave loader;
    EXPECT_EQ(loader.GetRootElement("XML/Empty.xml"), nullptr);
}

}  // namespace
