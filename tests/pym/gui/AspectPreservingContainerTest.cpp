#include <cmath>

#include <gtest/gtest.h>

#include "pym/core/XMLLoadSaveException.h"
#include "pym/gui/AspectPreservingContainer.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/pym/gui/Swatch.h"
#include "tests/support/SkinFixture.h"

using namespace Pym;
using Testing::Probe;

namespace {

using Rect = GuiObject::Rect;

TEST(AspectPreservingContainerTest, LetterBoxesTheContentAtItsRatio) {
    AspectPreservingContainer box;
    Probe content("content");
    box.SetContent(&content);
    box.Resize(200, 100);
    EXPECT_EQ(content.GetRect(), (Rect{50, 0, 100, 100}));
    box.Resize(100, 200);
    EXPECT_EQ(content.GetRect(), (Rect{0, 50, 100, 100}));
    box.SetAspectRatio(2.0f);
    box.Resize(100, 100);
    EXPECT_EQ(content.GetRect(), (Rect{0, 25, 100, 50}));
}

TEST(AspectPreservingContainerTest, OddSizesStayInsideCentredAndAtTheRatio) {
    for (float ratio : {1.0f, 1.6f, 0.5f, 3.0f}) {
        AspectPreservingContainer box;
        box.SetAspectRatio(ratio);
        Probe content("content");
        box.SetContent(&content);
        for (auto [w, h] : {std::pair{201, 100}, {99, 301}, {333, 77}, {1, 1}, {7, 300}}) {
            box.Resize(w, h);
            const Rect r = content.GetRect();
            SCOPED_TRACE(testing::Message() << ratio << " at " << w << "x" << h);
            EXPECT_GE(r.x, 0);
            EXPECT_GE(r.y, 0);
            EXPECT_LE(r.x + r.width, w);
            EXPECT_LE(r.y + r.height, h);
            EXPECT_TRUE(r.width == w || r.height == h);         // as large as fits
            EXPECT_LE(std::abs(r.x - (w - r.x - r.width)), 1);  // centred
            EXPECT_LE(std::abs(r.y - (h - r.y - r.height)), 1);
            // At the ratio, up to the rounding of each side to whole pixels.
            EXPECT_LE(std::fabs(r.width - r.height * ratio), 1.0f + ratio);
        }
    }
}

TEST(AspectPreservingContainerTest, NoAreaOrNoRatioNeverDividesByZero) {
    AspectPreservingContainer box;
    Probe content("content");
    box.SetContent(&content);
    box.Resize(80, 40);
    box.Resize(0, 40);
    box.Resize(0, 0);
    EXPECT_GE(content.GetWidth(), 0);
    EXPECT_GE(content.GetHeight(), 0);
    EXPECT_LE(content.GetWidth(), 80);

    std::vector<std::string> traces;
    ScopedTraceHook hook([&](const std::string& text) { traces.push_back(text); });
    box.SetAspectRatio(0.0f);  // no shape to keep: the content fills the box
    box.Resize(90, 30);
    EXPECT_EQ(content.GetRect(), (Rect{0, 0, 90, 30}));
    EXPECT_FALSE(traces.empty());
}

class AspectPreservingXmlTest : public Testing::SkinFixture {
protected:
    bool BuildFrom(AspectPreservingContainer& box, const std::string& attributes) {
        Write("XML/Box.xml", "<Box " + attributes + "/>");
        TiXmlElement* root = loader.GetRootElement("XML/Box.xml");
        return root && box.Build(root);
    }
    XMLLoadSave loader;
    const std::string complete =
        "AnimationPeriod=\"100\" AnimationSteps=\"5\" AspectRatio=\"2\" Orientation=\"Vertical\" "
        "ObjectXML=\"XML/Face.xml\"";
};

TEST_F(AspectPreservingXmlTest, BuildsItsContentFromTheNamedDocument) {
    Write("XML/Face.xml", "<Test::Swatch Name=\"Face\" Colour=\"255,0,0\"/>");
    AspectPreservingContainer box;
    ASSERT_TRUE(BuildFrom(box, complete));
    EXPECT_FLOAT_EQ(box.GetAspectRatio(), 2.0f);
    EXPECT_EQ(box.GetAnimationPeriod(), 100);
    EXPECT_EQ(box.GetAnimationSteps(), 5);
    EXPECT_TRUE(box.IsVertical());
    auto* face = dynamic_cast<Testing::Swatch*>(box.GetContent());
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->GetName(), "Face");
    EXPECT_EQ(face->colour.red, 255);
    box.Resize(100, 100);
    EXPECT_EQ(face->GetRect(), (Rect{0, 25, 100, 50}));
}

TEST_F(AspectPreservingXmlTest, EveryAttributeIsRequired) {
    Write("XML/Face.xml", "<Test::Swatch/>");
    for (const char* name :
         {"AnimationPeriod", "AnimationSteps", "AspectRatio", "Orientation", "ObjectXML"}) {
        std::string attributes = complete;
        const std::size_t at = attributes.find(name);
        attributes.erase(at, attributes.find('"', attributes.find('"', at) + 1) - at + 1);
        AspectPreservingContainer box;
        EXPECT_THROW(BuildFrom(box, attributes), XMLLoadSaveException) << name;
    }
}

}  // namespace
