// The program as a desktop installs it: `cmake --install` into a staging folder, the desktop's
// own validators on what it put there, and the installed program started from the root folder
// with no skin named and no saved settings, played with Space and ended by SIGTERM.
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/MonitorRecording.h"
#include "tests/support/RigProgram.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Testing::Output;

constexpr const char* kAppId = "org.ondrel.Metronome";

class InstallRigTest : public ::testing::Test {
protected:
    // One installation for the whole suite, into <staging>/usr/local.
    static void SetUpTestSuite() {
        staging = std::make_unique<Testing::TempDir>();
        installed = std::system(("DESTDIR='" + staging->Path().string() + "' cmake --install '" +
                                 ONDREL_BUILD_DIR + "' --prefix /usr/local >/dev/null")
                                    .c_str()) == 0;
    }
    static void TearDownTestSuite() { staging.reset(); }
    void SetUp() override { ASSERT_TRUE(installed) << "cmake --install failed"; }

    static fs::path Prefix() { return staging->Path() / "usr/local"; }
    // A command's exit status, with its output shown when it fails.
    static int Check(const std::string& command) {
        const std::string output = Output(command + " 2>&1; echo \"status $?\"");
        const int status = std::atoi(output.substr(output.rfind("status ") + 7).c_str());
        if (status != 0) ADD_FAILURE() << command << "\n" << output;
        return status;
    }

    static std::unique_ptr<Testing::TempDir> staging;
    static bool installed;
};

std::unique_ptr<Testing::TempDir> InstallRigTest::staging;
bool InstallRigTest::installed = false;

TEST_F(InstallRigTest, TheDesktopFilesAreInTheirPlacesAndPassTheDesktopsValidators) {
    const fs::path share = Prefix() / "share";
    EXPECT_EQ(Check("desktop-file-validate '" +
                    (share / "applications" / (std::string(kAppId) + ".desktop")).string() + "'"),
              0);
    EXPECT_EQ(Check("appstreamcli validate --no-net '" +
                    (share / "metainfo" / (std::string(kAppId) + ".metainfo.xml")).string() + "'"),
              0);
    const std::string icon = std::string(kAppId);
    EXPECT_TRUE(fs::is_regular_file(share / "icons/hicolor/scalable/apps" / (icon + ".svg")));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const fs::path png = share / "icons/hicolor" / folder / "apps" / (icon + ".png");
        EXPECT_EQ(Output("identify -format '%wx%h' '" + png.string() + "' 2>&1"), folder);
    }
    EXPECT_EQ(
        Check("man -l '" + (share / "man/man1/ondrel-metronome.1.gz").string() + "' >/dev/null"),
        0);
    EXPECT_TRUE(fs::is_regular_file(share / "doc/ondrel-metronome/copyright"));
    EXPECT_TRUE(fs::is_regular_file(share / "ondrel-metronome/XML/Metronome.xml"));
}

TEST_F(InstallRigTest, TheInstalledProgramStartsFromAnywherePlaysWithSpaceAndEndsOnSigterm) {
    if (!getenv("DISPLAY") || !getenv("PULSE_SERVER"))
        GTEST_SKIP() << "needs the rig: scripts/rig start";
    // Only what is installed may lead the program to its skin.
    unsetenv("ONDREL_SKIN");
    unsetenv("ONDREL_LIB");
    Testing::TempDir config;
    const fs::path errors = config.Path() / "errors.txt";
    Testing::RigProgram program({(Prefix() / "bin/ondrel-metronome").string(),
                                 {"XDG_CONFIG_HOME=" + (config.Path() / "config").string()},
                                 {},
                                 "/",
                                 errors});
    ASSERT_TRUE(program.Started());
    const std::string window = Testing::WaitForWindow("Ondrel Metronome");
    ASSERT_FALSE(window.empty()) << Testing::ReadFile(errors);

    Testing::MonitorRecording recording(config.Path() / "played.raw");
    ASSERT_TRUE(recording.Started());
    ASSERT_EQ(std::system(("xdotool windowfocus --sync " + window + " key space sleep 2").c_str()),
              0);
    const std::vector<std::int16_t> played = recording.Stop();
    const auto loudest = std::max_element(played.begin(), played.end(),
                                          [](auto a, auto b) { return std::abs(a) < std::abs(b); });
    ASSERT_NE(loudest, played.end());
    EXPECT_GT(std::abs(*loudest), 600) << "Space played nothing";

    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_EQ(Testing::ReadFile(errors), "");
}

}  // namespace
