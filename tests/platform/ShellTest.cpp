#include "platform/Shell.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// A stand-in xdg-open on PATH that records its arguments, one per line.
class DesktopOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log = bin.Path() / "args.log";
        fs::path script = bin.Write("xdg-open",
                                    "#!/bin/sh\n"
                                    "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                                        log.string() +
                                        ".tmp\"\n"
                                        "mv \"" +
                                        log.string() + ".tmp\" \"" + log.string() + "\"\n");
        fs::permissions(script, fs::perms::owner_all);
        const char* path = getenv("PATH");
        oldPath = path ? path : "";
        setenv("PATH", (bin.Path().string() + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override { setenv("PATH", oldPath.c_str(), 1); }

    std::string WaitForLog() {
        for (int i = 0; i < 500 && !fs::exists(log); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return Testing::ReadFile(log);
    }

    Testing::TempDir bin;
    Testing::TempDir files;
    fs::path log;
    std::string oldPath;
};

TEST_F(DesktopOpenerTest, PathReachesTheOpenerAsOneArgumentUntouched) {
    // Quotes, semicolons and substitutions stay text: nothing passes through a shell line.
    fs::path file = files.Write("my skin; rm -rf $HOME `x` 'q'.xml", "<Root/>");
    Platform::XdgShellOpener opener;
    ASSERT_TRUE(opener.Open(file.string(), "edit"));
    EXPECT_EQ(WaitForLog(), file.string() + "\n");
}

TEST_F(DesktopOpenerTest, MissingFileOpensNothing) {
    Platform::XdgShellOpener opener;
    EXPECT_FALSE(opener.Open((files.Path() / "absent.xml").string(), "edit"));
    EXPECT_FALSE(opener.Open("", "open"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(fs::exists(log));
}

}  // namespace
