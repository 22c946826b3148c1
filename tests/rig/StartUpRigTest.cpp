// The real program on the rig's display, started on a small skin of the test's own: once as on
// a machine without sound, where the skinned question appears and CANCEL ends the program, and
// once normally, where SIGTERM ends it as closing the main window does.
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/RigProgram.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kQuestionTitle = "Ondrel rig question";
constexpr const char* kMainTitle = "Ondrel rig main";

using Testing::GeometryOf;
using Testing::Output;
using Testing::WaitForWindow;

// The program under test, on the test's skin.
struct Program : Testing::RigProgram {
    Program(const std::filesystem::path& skin, const std::vector<std::string>& settings)
        : RigProgram(ONDREL_PROGRAM, skin, settings) {}
};

class StartUpRigTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!getenv("DISPLAY")) GTEST_SKIP() << "needs the rig's display";
        skin.Write("lib/PYM/XML/.keep", "");
        skin.Write("images/panel.svg", Svg("#1e2129"));
        skin.Write("images/button.svg", Svg("#ff8a3d"));
        skin.Write("XML/Metronome.xml", "<Skin><MetronomeApp Title=\"" + std::string(kMainTitle) +
                                            "\" Width=\"300\" Height=\"200\">" +
                                            Place("Panel", "0", "0", "1", "1", Picture("panel")) +
                                            "</MetronomeApp></Skin>");
        skin.Write("XML/Main/Button.xml", "<Pym::ImageButton>" + State("UnSelected") +
                                              State("Selected") + State("MouseOver") +
                                              "</Pym::ImageButton>");
        skin.Write("XML/Main/MessageBox.xml",
                   "<MessageBoxA Title=\"" + std::string(kQuestionTitle) +
                       "\" ObjectXML=\"XML/Main/Button.xml\" XPos=\"100\" YPos=\"100\" "
                       "Width=\"420\" Height=\"200\">" +
                       Place("Panel", "0", "0", "1", "1", Picture("panel")) +
                       Place("Message", "0.05", "0.1", "0.9", "0.3",
                             "<Pym::Text Text=\"\" Stretchable=\"0\" Color=\"232,234,240,255\" "
                             "SelectedColor=\"232,234,240,255\"><Font Family=\"DejaVu Sans\" "
                             "Size=\"11\" Style=\"Regular\" Conversion=\"Point\"/></Pym::Text>") +
                       Place("ButtonContainer", "0", "0.6", "1", "0.3", "<Pym::GridLayout/>") +
                       "</MessageBoxA>");
    }

    static std::string Svg(const std::string& fill) {
        return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"><rect "
               "width=\"8\" height=\"8\" fill=\"" +
               fill + "\"/></svg>";
    }
    static std::string Picture(const std::string& name) {
        return "<Pym::Image ImageFile=\"images/" + name + ".svg\"/>";
    }
    static std::string State(const std::string& state) {
        return "<" + state + ">" + Picture("button") + "</" + state + ">";
    }
    static std::string Place(const std::string& name, const std::string& x, const std::string& y,
                             const std::string& w, const std::string& h, const std::string& inner) {
        return "<CreateObject Name=\"" + name + "\" XPos=\"" + x + "\" YPos=\"" + y +
               "\" Width=\"" + w + "\" Height=\"" + h + "\">" + inner + "</CreateObject>";
    }

    Testing::TempDir skin;
};

TEST_F(StartUpRigTest, WithoutSoundTheQuestionAppearsAndCancelEndsTheProgram) {
    Program program(skin.Path(), {"PULSE_SERVER=unix:/nonexistent"});
    ASSERT_TRUE(program.Started());
    const std::string question = WaitForWindow(kQuestionTitle);
    ASSERT_FALSE(question.empty()) << "the question never appeared";
    const Testing::Geometry at = GeometryOf(question);
    ASSERT_GT(at.width, 0);
    // RETRY and CANCEL sit at a third and two thirds of the row, 60-90 % down the box.
    const int x = at.x + at.width * 2 / 3, y = at.y + at.height * 3 / 4;
    std::this_thread::sleep_for(300ms);
    (void)system(
        ("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " sleep 0.2 click 1")
            .c_str());
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_EQ(Output("xdotool search --name '^" + std::string(kMainTitle) + "$' 2>/dev/null"), "");
}

TEST_F(StartUpRigTest, TerminationEndsTheRunningProgramWithSuccess) {
    Program program(skin.Path(), {});
    ASSERT_TRUE(program.Started());
    const std::string main = WaitForWindow(kMainTitle);
    ASSERT_FALSE(main.empty()) << "the main window never appeared";
    EXPECT_TRUE(Output("xdotool search --name '^" + std::string(kQuestionTitle) + "$' 2>/dev/null")
                    .empty());
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
}

// SDL would fall back to a driver that draws nowhere, and the program would run unseen forever.
TEST_F(StartUpRigTest, WithoutADisplayTheProgramFailsInsteadOfRunningUnseen) {
    if (!getenv("PULSE_SERVER")) GTEST_SKIP() << "needs the rig's sound server";
    Program program(skin.Path(), {"DISPLAY=:9999"});
    ASSERT_TRUE(program.Started());
    EXPECT_EQ(program.Wait(), 1);
    // Nor is a question that cannot be shown taken for a CANCEL.
    Program silent(skin.Path(), {"DISPLAY=:9999", "PULSE_SERVER=unix:/nonexistent"});
    ASSERT_TRUE(silent.Started());
    EXPECT_EQ(silent.Wait(), 1);
}

// Whatever is wrong with the skin named, the program says so on one line that names it, ends
// with status 1 and leaves no window behind.
TEST_F(StartUpRigTest, ABadSkinEndsTheProgramWithOneLineNamingIt) {
    Testing::TempDir bad;
    const std::filesystem::path file = bad.Write("file.txt", "not a skin");
    const std::filesystem::path empty = bad.Write("empty/.keep", "").parent_path();
    const std::filesystem::path malformed =
        bad.Write("malformed/XML/Metronome.xml", "<Skin><MetronomeApp Title=");
    const std::filesystem::path unknown =
        bad.Write("unknown/XML/Metronome.xml",
                  "<Skin><MetronomeApp Title=\"" + std::string(kMainTitle) + "\">" +
                      Place("Thing", "0", "0", "1", "1", "<Pym::NoSuchThing/>") +
                      "</MetronomeApp></Skin>")
            .parent_path()
            .parent_path();
    bad.Write("unknown/lib/PYM/XML/.keep", "");
    const std::vector<std::pair<std::filesystem::path, std::string>> cases = {
        {bad.Path() / "nothing", (bad.Path() / "nothing").string()},
        {file, file.string()},
        {empty, empty.string()},
        {malformed.parent_path().parent_path(), malformed.string()},
        {unknown, "Pym::NoSuchThing"}};
    for (const auto& [folder, named] : cases) {
        SCOPED_TRACE(folder.string());
        const std::filesystem::path errors = skin.Path() / "errors.txt";
        Testing::RigProgram program({ONDREL_PROGRAM, {}, {"--skin", folder.string()}, "/", errors});
        ASSERT_TRUE(program.Started());
        EXPECT_EQ(program.Wait(), 1);
        const std::string said = Testing::ReadFile(errors);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(said.rfind("ondrel-metronome: ", 0), 0u) << said;
        EXPECT_NE(said.find(named), std::string::npos) << said;
        EXPECT_EQ(Output("xdotool search --name '^" + std::string(kMainTitle) + "$' 2>/dev/null"),
                  "");
    }
}

}  // namespace

namespace {

// Answered on standard output with no display at all: no window is ever opened for them.
TEST(ProgramOptionsTest, HelpAndVersionAnswerWithoutAWindow) {
    const std::string program = ONDREL_PROGRAM;
    EXPECT_EQ(Output("env -u DISPLAY '" + program + "' --version; echo \" $?\""),
              "Ondrel Metronome " ONDREL_VERSION "\n 0");
    const std::string help = Output("env -u DISPLAY '" + program + "' --help; echo \" $?\"");
    EXPECT_EQ(help.rfind("Usage: ondrel-metronome", 0), 0u) << help;
    EXPECT_EQ(help.substr(help.size() - 2), " 0");
    EXPECT_EQ(Output("'" + program + "' --bogus 2>/dev/null; echo $?"), "2");
}

}  // namespace
