// Which skin the program starts on: a named one or nothing, else the installed one found from
// the program's own folder, else, for a development build, the source tree's.
#include "app/SkinLocator.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class SkinLocatorTest : public ::testing::Test {
protected:
    fs::path Skin(const std::string& folder) {
        root.Write(folder + "/XML/Metronome.xml", "<Skin/>");
        return fs::canonical(root.Path() / folder);
    }
    // A program in prefix/bin, with a build tree and a source skin beside it.
    SkinLocator::Defaults Defaults(const std::string& program = "prefix/bin/ondrel-metronome") {
        return {root.Path() / program, "../share/ondrel-metronome", root.Path() / "build",
                root.Path() / "source/skin"};
    }
    std::string Located(SkinLocator locator) {
        const auto skin = locator.Locate();
        return skin ? skin->string() : "failed: " + locator.Failure();
    }

    Testing::TempDir root;
};

TEST_F(SkinLocatorTest, ANamedSkinComesFirstThenTheInstalledOneThenTheSourceTreesForABuild) {
    const fs::path named = Skin("named"), variable = Skin("variable"),
                   installed = Skin("prefix/share/ondrel-metronome"), source = Skin("source/skin");
    EXPECT_EQ(Located({named.string(), variable.string(), Defaults()}), named.string());
    EXPECT_EQ(Located({std::nullopt, variable.string(), Defaults()}), variable.string());
    EXPECT_EQ(Located({std::nullopt, "", Defaults()}), installed.string());
    // A relocated installation: the program's folder counts, not where it was built for.
    const fs::path moved = Skin("moved/share/ondrel-metronome");
    EXPECT_EQ(Located({std::nullopt, "", Defaults("moved/bin/ondrel-metronome")}), moved.string());
    EXPECT_EQ(Located({std::nullopt, "", Defaults("build/app/ondrel-metronome")}), source.string());
    // A relative name is taken from the working folder.
    Testing::ScopedCurrentDirectory inside(root.Path());
    EXPECT_EQ(Located({"named", "", Defaults()}), named.string());
}

TEST_F(SkinLocatorTest, WhatIsNotASkinIsReportedOnOneLineWithEveryPlaceTried) {
    root.Write("file", "");
    root.Write("empty/.keep", "");
    const fs::path base = fs::canonical(root.Path());
    // A named place is the only one tried, even with a skin installed.
    Skin("prefix/share/ondrel-metronome");
    EXPECT_EQ(Located({"/nonexistent-ondrel", "", Defaults()}),
              "failed: no skin found; tried /nonexistent-ondrel (--skin): no such folder");
    EXPECT_EQ(
        Located({(root.Path() / "file").string(), "", Defaults()}),
        "failed: no skin found; tried " + (base / "file").string() + " (--skin): not a folder");
    EXPECT_EQ(Located({std::nullopt, (root.Path() / "empty").string(), Defaults()}),
              "failed: no skin found; tried " + (base / "empty").string() +
                  " (ONDREL_SKIN): no XML/Metronome.xml in it");
    EXPECT_EQ(Located({"", "", Defaults()}),
              "failed: no skin found; tried \"\" (--skin): no folder named");

    fs::remove_all(root.Path() / "prefix/share");
    EXPECT_EQ(Located({std::nullopt, "", Defaults("build/app/ondrel-metronome")}),
              "failed: no skin found; tried " + (base / "build/share/ondrel-metronome").string() +
                  " (installed beside the program): no such folder; " +
                  (base / "source/skin").string() + " (the source tree): no such folder");
    EXPECT_EQ(Located({std::nullopt, "", {}}), "failed: no skin found; tried nothing");
}

}  // namespace
