// The real program on the rig's display, started on a small skin of the test's own: once as on
// a machine without sound, where the skinned question appears and CANCEL ends the program, and
// once normally, where SIGTERM ends it as closing the main window does.
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr const char* kQuestionTitle = "Ondrel rig question";
constexpr const char* kMainTitle = "Ondrel rig main";

// The standard output of a command, trimmed of its last newline.
std::string Output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
        pclose(pipe);
    }
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

// The X window with the title, waited for up to 20 s; empty when it never came.
std::string WaitForWindow(const std::string& title) {
    for (int i = 0; i < 200; ++i) {
        std::string id = Output("xdotool search --name '^" + title + "$' 2>/dev/null | head -1");
        if (!id.empty()) return id;
        std::this_thread::sleep_for(100ms);
    }
    return {};
}

struct Geometry {
    int x = -1, y = -1, width = 0, height = 0;
};

Geometry GeometryOf(const std::string& id) {
    Geometry geometry;
    const std::string text = Output("xdotool getwindowgeometry --shell " + id);
    auto value = [&](const std::string& key) {
        std::size_t at = text.find(key + "=");
        return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size() + 1);
    };
    geometry.x = value("X");
    geometry.y = value("Y");
    geometry.width = value("WIDTH");
    geometry.height = value("HEIGHT");
    return geometry;
}

// The program, started in the skin folder with extra environment settings.
class Program {
public:
    Program(const std::filesystem::path& skin, const std::vector<std::string>& settings) {
        std::vector<std::string> environment = settings;
        environment.push_back("ONDREL_LIB=" + skin.string());
        // The first of two settings of one name is the one that counts: ours go first.
        for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
        std::vector<char*> envp;
        for (std::string& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);

        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(skin);
        std::string program = ONDREL_PROGRAM;
        std::vector<char*> argv = {program.data(), nullptr};
        if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        std::filesystem::current_path(previous);
    }
    ~Program() {
        if (pid_ > 0 && !ended_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool Started() const { return pid_ > 0; }
    void Signal(int signal) { kill(pid_, signal); }
    // The exit status, waited for up to 20 s; -1 when it did not end normally in time.
    int Wait() {
        for (int i = 0; i < 200; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                ended_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(100ms);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    bool ended_ = false;
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
    const Geometry at = GeometryOf(question);
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
