// A menu button, its drop-down menu and its tooltip on the real SDL host under the rig's
// display, driven through the X server as a user's mouse would.
#include <stdlib.h>

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/Screenshot.h"

#include "platform/HostWindow.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/AppWindow.h"
#include "pym/gui/MenuButton.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/PymWnd.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/pym/gui/Swatch.h"
#include "tests/support/SkinFixture.h"

namespace {

using Testing::Screenshot;

void RunFor(int milliseconds) {
    Platform::Host().RunFor(milliseconds);
}

// Runs the event loop while a user works the mouse through the X server.
void AsUser(const std::string& xdotool, int milliseconds) {
    const std::string command = "xdotool " + xdotool;
    std::thread user([&command] { (void)system(command.c_str()); });
    RunFor(milliseconds);
    user.join();
}

std::string Place(const std::string& name, const std::string& x, const std::string& y,
                  const std::string& w, const std::string& h, const std::string& inner) {
    return "<CreateObject Name=\"" + name + "\" XPos=\"" + x + "\" YPos=\"" + y + "\" Width=\"" +
           w + "\" Height=\"" + h + "\">" + inner + "</CreateObject>";
}

std::string Swatch(const std::string& colour) {
    return "<Test::Swatch Colour=\"" + colour + "\"/>";
}

class MenuRigTest : public Testing::SkinFixture {};

TEST_F(MenuRigTest, AClickOpensTheMenuBelowTheButtonAndHoverShowsTheTooltipAbove) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "start the rig: scripts/rig start";
    const int x = 200, y = 150;
    // A 60 x 14 light "text" in a 12 x 6 border: a 72 x 20 tooltip.
    Write("XML/Main/ToolTip.xml",
          "<Pym::ToolTip XBorderSize=\"12\" YBorderSize=\"6\" Text=\"\" Width=\"5\" Height=\"5\" "
          "BackgroundColor=\"40,44,54,255\" BorderColor=\"52,57,69,255\">" +
              Place("Text", "0", "0", "60px", "14px", Swatch("232,234,240,255")) +
              "</Pym::ToolTip>");
    Write("XML/Menu.xml", "<Pym::PopupMenuWindow Width=\"120\" Height=\"60\">" +
                              Place("Wood", "0", "0", "1", "0.5", Swatch("76,201,240,255")) +
                              Place("Bell", "0", "0.5", "1", "0.5", Swatch("61,220,132,255")) +
                              "</Pym::PopupMenuWindow>");
    const std::string button =
        "<Pym::MenuButton Menu=\"XML/Menu.xml\" ToolTip=\"Sound\">"
        "<UnSelected>" +
        Swatch("40,44,54,255") +
        "</UnSelected>"
        "<Selected>" +
        Swatch("52,57,69,255") +
        "</Selected>"
        "<MouseOver>" +
        Swatch("255,138,61,255") +
        "</MouseOver>"
        "</Pym::MenuButton>";
    Write("XML/Main.xml", "<Pym::AppWindow XPos=\"" + std::to_string(x) + "\" YPos=\"" +
                              std::to_string(y) + "\" Width=\"360\" Height=\"220\">" +
                              Place("Back", "0", "0", "1", "1", Swatch("21,23,28,255")) +
                              Place("Sound", "40px", "40px", "120px", "30px", button) +
                              "</Pym::AppWindow>");
    Pym::XMLLoadSave loader;
    std::unique_ptr<Pym::GuiObject> window(Pym::CreateNamedObject(
        "Pym::AppWindow", "Main", nullptr, loader.GetRootElement("XML/Main.xml")));
    ASSERT_NE(window, nullptr);
    auto* app = static_cast<Pym::AppWindow*>(window.get());
    auto* sound = dynamic_cast<Pym::MenuButton*>(Pym::FindObject(window.get(), "Sound"));
    ASSERT_NE(sound, nullptr);
    Pym::PopupMenuWindow* menu = sound->Menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(menu->Host(), nullptr);
    std::vector<std::string> chosen;
    Testing::Log(*Pym::FindObject(menu, "Bell"), Pym::Signal::Activate::Id(), chosen, "Bell");
    RunFor(400);
    // Without a window manager the first placement may be lost: place it again once mapped.
    app->Move(x + 1, y);
    app->Move(x, y);
    RunFor(300);

    const std::string shots =
        getenv("ONDREL_SCREENSHOT_DIR") ? getenv("ONDREL_SCREENSHOT_DIR") : dir.Path().string();
    // A click on the button: the menu opens right under it.
    AsUser("mousemove " + std::to_string(x + 100) + " " + std::to_string(y + 56) +
               " sleep 0.1 mousemove " + std::to_string(x + 100) + " " + std::to_string(y + 55) +
               " sleep 0.1 click 1",
           800);
    ASSERT_TRUE(menu->IsVisible());
    const Platform::HostRect at = menu->Host()->Native().Geometry();
    EXPECT_EQ(at.x, x + 40);
    EXPECT_EQ(at.y, y + 70);
    {
        Screenshot shot(shots + "/menu-rig-open.png");
        ASSERT_TRUE(shot.Ok());
        EXPECT_EQ(shot.At(x + 60, y + 85), 0x4CC9F0u);   // the first entry
        EXPECT_EQ(shot.At(x + 60, y + 115), 0x3DDC84u);  // the second
    }
    // A click on an entry chooses it.
    AsUser("mousemove " + std::to_string(x + 60) + " " + std::to_string(y + 116) +
               " sleep 0.1 mousemove " + std::to_string(x + 61) + " " + std::to_string(y + 115) +
               " sleep 0.1 click 1",
           700);
    EXPECT_EQ(chosen, std::vector<std::string>{"Bell"});

    // Back in the main window, the pointer resting on the button shows its tooltip above it.
    menu->HideMenu();
    app->Host()->Native().Focus();
    RunFor(300);
    AsUser("mousemove " + std::to_string(x + 60) + " " + std::to_string(y + 56) +
               " sleep 0.1 mousemove " + std::to_string(x + 60) + " " + std::to_string(y + 55),
           700);
    // At the pointer's x (60 in the window), 2 pixels above the button's top (40).
    const int tipX = x + 60, tipY = y + 40 - 20 - 2;
    Screenshot shot(shots + "/menu-rig-tooltip.png");
    ASSERT_TRUE(shot.Ok());
    EXPECT_EQ(shot.At(tipX, tipY), 0x343945u);                   // the border
    EXPECT_EQ(shot.At(tipX + 3, tipY + 2), 0x282C36u);           // the fill
    EXPECT_EQ(shot.At(tipX + 6 + 20, tipY + 3 + 7), 0xE8EAF0u);  // the text
    EXPECT_EQ(shot.At(tipX + 36, tipY + 25), 0x343945u);  // the button, lit under the pointer
}

}  // namespace
