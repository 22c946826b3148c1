// Popup menus, menu buttons and tooltips on the offscreen host, built from skin text.
#include <gtest/gtest.h>

#include "pym/core/Clock.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/MenuButton.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/PopupMenuWindow.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/Text.h"
#include "pym/gui/ToolTip.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/pym/gui/Swatch.h"
#include "tests/support/OffscreenHost.h"
#include "tests/support/SkinFixture.h"

using namespace Pym;
using Type = Platform::HostEvent::Type;

namespace {

// A text that always measures 50 x 12, whatever its font makes of it.
class FixedText : public Text {
public:
    void OnLayoutReady() override { SetSizeUnchecked(50, 12); }
};
const bool fixedTextRegistered = RegisterType<FixedText>("Test::FixedText", "");

constexpr int kDown = static_cast<int>(Platform::KeyDown | Platform::kKeyDownBit);
constexpr int kUp = static_cast<int>(Platform::KeyUp | Platform::kKeyDownBit);
constexpr int kRight = static_cast<int>(Platform::KeyRight | Platform::kKeyDownBit);
constexpr int kLeft = static_cast<int>(Platform::KeyLeft | Platform::kKeyDownBit);

std::string Place(const std::string& name, const std::string& x, const std::string& y,
                  const std::string& w, const std::string& h, const std::string& inner,
                  const std::string& extra = "") {
    return "<CreateObject Name=\"" + name + "\" XPos=\"" + x + "\" YPos=\"" + y + "\" Width=\"" +
           w + "\" Height=\"" + h + "\" " + extra + ">" + inner + "</CreateObject>";
}

std::string Swatch(const std::string& extra = "") {
    return "<Test::Swatch Colour=\"40,44,54,255\" " + extra + "/>";
}

// A menu of three swatch entries, one per row, reachable by the keyboard.
std::string ThreeEntryMenu(const std::string& type = "Application") {
    std::string entries;
    for (int row = 0; row < 3; ++row)
        entries +=
            Place("Entry" + std::to_string(row), "0", std::to_string(row / 3.0f), "1", "0.333",
                  Swatch(), "TabCoordX=\"0\" TabCoordY=\"" + std::to_string(row) + "\"");
    return "<Pym::PopupMenuWindow Type=\"" + type + "\" Width=\"90\" Height=\"60\">" + entries +
           "</Pym::PopupMenuWindow>";
}

class MenuTest : public Testing::SkinFixture {
protected:
    void SetUp() override {
        SkinFixture::SetUp();
        SetClockSource([this] { return now; });
    }
    void TearDown() override {
        SetClockSource(nullptr);
        objects.clear();
        SkinFixture::TearDown();
    }

    // The main window: 300 x 200 at (10, 20), with whatever the test puts in it.
    Window* Main(const std::string& content = "") {
        Write("XML/Main.xml", "<Pym::Window XPos=\"10\" YPos=\"20\" Width=\"300\" Height=\"200\">" +
                                  content + "</Pym::Window>");
        main = Build<Window>("XML/Main.xml", nullptr);
        // Menus inside it make windows of their own after it.
        mainNative = main ? &NativeOf(main) : nullptr;
        return main;
    }
    // Builds a document's root as an object of its type, owned by the test; with a context
    // element the document belongs to that element's window.
    template <class T>
    T* Build(const std::string& file, const TiXmlElement* context) {
        TiXmlElement* root = loader.GetRootElement(file, context);
        if (!root) return nullptr;
        objects.emplace_back(CreateNamedObject(
            root->ValueStr(), "Object" + std::to_string(objects.size()), nullptr, root));
        host.Pump();
        return dynamic_cast<T*>(objects.back().get());
    }
    template <class T>
    T* Menu(const std::string& xml, const std::string& file = "XML/Menu.xml") {
        Write(file, xml);
        return Build<T>(file, main->GetElement());
    }
    template <class T = GuiObject>
    T* Find(GuiObject* scope, const std::string& name) {
        return dynamic_cast<T*>(FindObject(scope, name));
    }
    static Testing::OffscreenWindow& NativeOf(Window* window) {
        return static_cast<Testing::OffscreenWindow&>(window->Host()->Native());
    }
    void Key(Window* window, int key) {
        NativeOf(window).Inject(
            Platform::HostEvent{Type::KeyDown, 0, 0, 0, 0, 0, static_cast<std::uint32_t>(key), {}});
    }
    void Tick(Window* window) { NativeOf(window).Inject(Type::Timer); }

    double now = 1000.0;
    Testing::OffscreenHost host;
    XMLLoadSave loader;
    Window* main = nullptr;
    Testing::OffscreenWindow* mainNative = nullptr;
    std::vector<std::unique_ptr<GuiObject>> objects;
};

TEST_F(MenuTest, PopupToggleShowsAtTheLastMovedPlaceAndForcesThePopupType) {
    Main();
    // The document asks for an application window; a menu is a popup all the same.
    auto* menu = Menu<PopupMenuWindow>(ThreeEntryMenu("Application"));
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(menu->Host(), nullptr);
    EXPECT_EQ(menu->GetType(), Window::Popup);
    EXPECT_TRUE(menu->IsMenu());
    EXPECT_EQ(NativeOf(menu).Kind(), Platform::WindowKind::Popup);
    EXPECT_FALSE(menu->IsVisible());
    EXPECT_FALSE(menu->ClickNeedsHover());

    menu->Move(30, 40);
    Signal::Activate click;
    menu->SlotPopup(click);
    EXPECT_TRUE(menu->IsVisible());
    EXPECT_TRUE(NativeOf(menu).IsVisible());
    // Relative to the main window at (10, 20).
    EXPECT_EQ(NativeOf(menu).Geometry(), (Platform::HostRect{40, 60, 90, 60}));
    EXPECT_TRUE(NativeOf(menu).HasFocus());  // the keyboard goes to the open menu
    menu->SlotPopup(click);
    EXPECT_FALSE(menu->IsVisible());
    EXPECT_FALSE(NativeOf(menu).IsVisible());

    // Shown again, it is where it was; PopupAt moves it and that place is remembered.
    menu->SlotPopup(click);
    EXPECT_EQ(NativeOf(menu).Geometry().x, 40);
    menu->HideMenu();
    menu->PopupAt(5, 6);
    EXPECT_EQ(NativeOf(menu).Geometry(), (Platform::HostRect{15, 26, 90, 60}));
    menu->HideMenu();
    menu->TogglePopup();
    EXPECT_EQ(menu->PopupX(), 5);
    EXPECT_EQ(menu->PopupY(), 6);

    // At the cursor: where the pointer last was in the main window.
    menu->HideMenu();
    mainNative->Inject(Type::MouseMove, 120, 70);
    menu->SlotPopupAtCursor(click);
    EXPECT_EQ(NativeOf(menu).Geometry(), (Platform::HostRect{130, 90, 90, 60}));
}

TEST_F(MenuTest, ArrowKeysMoveTheSelectionEnterChoosesAndEscapeCloses) {
    Main();
    auto* menu = Menu<PopupMenuWindow>(ThreeEntryMenu());
    ASSERT_NE(menu, nullptr);
    GuiObject* entries[3] = {Find(menu, "Entry0"), Find(menu, "Entry1"), Find(menu, "Entry2")};
    for (GuiObject* entry : entries) ASSERT_NE(entry, nullptr);
    std::vector<std::string> log;
    for (int i = 0; i < 3; ++i)
        Testing::Log(*entries[i], Signal::Activate::Id(), log, "chose " + std::to_string(i));
    menu->TogglePopup();
    menu->SelectFirstEntry();
    EXPECT_TRUE(entries[0]->IsSelected());

    Key(menu, kDown);
    EXPECT_TRUE(entries[1]->IsSelected());
    EXPECT_FALSE(entries[0]->IsSelected());
    Key(menu, kDown);
    Key(menu, kDown);  // nothing below the last row
    EXPECT_TRUE(entries[2]->IsSelected());
    Key(menu, kUp);
    EXPECT_TRUE(entries[1]->IsSelected());
    Key(menu, 13);
    EXPECT_EQ(log, std::vector<std::string>{"chose 1"});
    EXPECT_TRUE(menu->IsVisible());

    Key(menu, 27);
    EXPECT_FALSE(menu->IsVisible());
    // Closing clears the selection: the next opening starts afresh.
    for (GuiObject* entry : entries) EXPECT_FALSE(entry->IsSelected());
    menu->TogglePopup();
    Key(menu, 13);  // nothing selected, nothing chosen
    EXPECT_EQ(log.size(), 1u);
    // A hide request reaches it as any broadcast does.
    Signal::Hide hide;
    menu->DeliverSignal(hide, true);
    EXPECT_FALSE(menu->IsVisible());
}

TEST_F(MenuTest, LosingTheFocusHidesAMenuUnlessItIsBusyOrStaysOpen) {
    Main();
    auto* menu = Menu<PopupMenuWindow>(ThreeEntryMenu());
    ASSERT_NE(menu, nullptr);
    menu->TogglePopup();
    NativeOf(menu).SetFocused(false);
    NativeOf(menu).Inject(Type::FocusLost);
    host.Pump();
    EXPECT_FALSE(menu->IsVisible());

    menu->TogglePopup();
    menu->SetBusy(1);
    NativeOf(menu).SetFocused(false);
    NativeOf(menu).Inject(Type::FocusLost);
    host.Pump();
    EXPECT_TRUE(menu->IsVisible());
    menu->HideUnlessBusy();
    EXPECT_TRUE(menu->IsVisible());
    menu->HideMenu();  // clears busy
    EXPECT_EQ(menu->Busy(), 0);

    menu->TogglePopup();
    menu->SetStayOpen(1);
    NativeOf(menu).SetFocused(false);
    NativeOf(menu).Inject(Type::FocusLost);
    host.Pump();
    EXPECT_TRUE(menu->IsVisible());
    menu->SetStayOpen(0);

    // Focus that moved on to a submenu of the menu keeps both open; once it leaves the
    // submenu for another window, both close.
    auto* sub = Menu<PopupMenuWindow>(ThreeEntryMenu(), "XML/Sub.xml");
    menu->SetOpenSubmenu(sub);
    sub->TogglePopup();
    NativeOf(menu).SetFocused(false);
    NativeOf(menu).Inject(Type::FocusLost);
    host.Pump();
    EXPECT_TRUE(menu->IsVisible());
    EXPECT_TRUE(sub->IsVisible());
    NativeOf(sub).SetFocused(false);
    NativeOf(sub).Inject(Type::FocusLost);
    host.Pump();
    EXPECT_FALSE(sub->IsVisible());
    EXPECT_FALSE(menu->IsVisible());
}

TEST_F(MenuTest, HidingAMenuClosesTheChainOfSubmenusBelowIt) {
    Main();
    auto* top = Menu<PopupMenuWindow>(ThreeEntryMenu(), "XML/Top.xml");
    auto* middle = Menu<PopupMenuWindow>(ThreeEntryMenu(), "XML/Middle.xml");
    auto* bottom = Menu<PopupMenuWindow>(ThreeEntryMenu(), "XML/Bottom.xml");
    ASSERT_TRUE(top && middle && bottom);
    top->TogglePopup();
    top->SetOpenSubmenu(middle);
    middle->TogglePopup();
    middle->SetOpenSubmenu(bottom);
    bottom->TogglePopup();
    Find(bottom, "Entry1")->Select();
    ASSERT_TRUE(Find(bottom, "Entry1")->IsSelected());
    top->SetBusy(1);

    top->HideMenu();
    for (PopupMenuWindow* menu : {top, middle, bottom}) {
        EXPECT_FALSE(menu->IsVisible());
        EXPECT_FALSE(NativeOf(menu).IsVisible());
        EXPECT_EQ(menu->OpenSubmenu(), nullptr);
    }
    EXPECT_FALSE(Find(bottom, "Entry1")->IsSelected());
    EXPECT_EQ(top->Busy(), 0);

    // Hiding a submenu alone leaves the menu above it open and forgets the link.
    top->TogglePopup();
    top->SetOpenSubmenu(middle);
    middle->TogglePopup();
    middle->HideMenu();
    EXPECT_TRUE(top->IsVisible());
    EXPECT_EQ(top->OpenSubmenu(), nullptr);
}

// A menu bar button in the main window whose menu has a submenu entry.
class MenuButtonTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        Write("XML/Sub.xml", ThreeEntryMenu());
        Write("XML/File.xml",
              "<Pym::PopupMenuWindow Width=\"100\" Height=\"60\">" +
                  Place("Open", "0", "0", "1", "0.5", Swatch(), "TabCoordX=\"0\" TabCoordY=\"0\"") +
                  Place("More", "0", "0.5", "1", "0.5", Button("SubMenu=\"XML/Sub.xml\""),
                        "TabCoordX=\"0\" TabCoordY=\"1\"") +
                  "</Pym::PopupMenuWindow>");
        Main(Place("File", "40px", "30px", "60px", "20px", Button("Menu=\"XML/File.xml\"")));
        file = Find<MenuButton>(main, "File");
        ASSERT_NE(file, nullptr);
        ASSERT_NE(file->Menu(), nullptr);
        more = Find<MenuButton>(file->Menu(), "More");
        ASSERT_NE(more, nullptr);
        ASSERT_NE(more->Menu(), nullptr);
    }
    static std::string Button(const std::string& attributes) {
        return "<Pym::MenuButton " + attributes + ">" + "<Selected>" + Swatch() +
               "</Selected><UnSelected>" + Swatch() + "</UnSelected><MouseOver>" + Swatch() +
               "</MouseOver></Pym::MenuButton>";
    }
    void Click(Testing::OffscreenWindow& window, int x, int y) {
        // A move to a new point first: a repeated point is not news to the host.
        window.Inject(Type::MouseMove, x, y + 1);
        window.Inject(Type::MouseMove, x, y);
        window.Inject(Type::LeftDown, x, y);
        window.Inject(Type::LeftUp, x, y);
        host.Pump();
    }

    MenuButton* file = nullptr;
    MenuButton* more = nullptr;
};

TEST_F(MenuButtonTest, AClickOpensTheMenuBelowTheButtonAndASecondClickClosesIt) {
    EXPECT_FALSE(file->IsSubmenu());
    EXPECT_TRUE(more->IsSubmenu());
    PopupMenuWindow* menu = file->Menu();
    EXPECT_FALSE(menu->IsVisible());
    Click(*mainNative, 50, 35);
    ASSERT_TRUE(menu->IsVisible());
    // Below the button: (40, 30 + 20) in the main window at (10, 20).
    EXPECT_EQ(menu->PopupX(), 40);
    EXPECT_EQ(menu->PopupY(), 50);
    EXPECT_EQ(NativeOf(menu).Geometry(), (Platform::HostRect{50, 70, 100, 60}));
    Click(*mainNative, 50, 35);
    EXPECT_FALSE(menu->IsVisible());

    // A press that took the focus away closed the menu already: its click does not reopen it.
    Click(*mainNative, 50, 35);
    ASSERT_TRUE(menu->IsVisible());
    mainNative->Inject(Type::MouseMove, 51, 35);
    mainNative->Inject(Type::LeftDown, 51, 35);
    NativeOf(menu).SetFocused(false);
    NativeOf(menu).Inject(Type::FocusLost);
    host.Pump();
    EXPECT_FALSE(menu->IsVisible());
    mainNative->Inject(Type::LeftUp, 51, 35);
    EXPECT_FALSE(menu->IsVisible());
}

TEST_F(MenuButtonTest, ASubmenuEntryOpensItsMenuToTheRightAfterAQuarterSecondSelected) {
    PopupMenuWindow* menu = file->Menu();
    PopupMenuWindow* sub = more->Menu();
    file->OpenMenu();
    ASSERT_TRUE(menu->IsVisible());
    more->Select();
    ASSERT_TRUE(more->IsSelected());

    now += 0.2;
    Tick(menu);
    EXPECT_FALSE(sub->IsVisible());
    now += 0.1;
    Tick(menu);
    ASSERT_TRUE(sub->IsVisible());
    // Right of the entry: the menu's x + the entry's x + its width; the entry's y.
    EXPECT_EQ(sub->PopupX(), menu->PopupX() + more->GetAbsoluteX() + more->GetWidth());
    EXPECT_EQ(sub->PopupY(), menu->PopupY() + more->GetAbsoluteY());
    EXPECT_EQ(sub->PopupY(), 50 + 30);
    EXPECT_EQ(menu->OpenSubmenu(), sub);

    // Closed by the user while still selected, it does not open again by itself.
    sub->HideMenu();
    now += 1.0;
    Tick(menu);
    EXPECT_FALSE(sub->IsVisible());

    // Closing the menu closes the submenu with it.
    more->OpenMenu();
    ASSERT_TRUE(sub->IsVisible());
    file->OpenMenu();
    EXPECT_FALSE(menu->IsVisible());
    EXPECT_FALSE(sub->IsVisible());
}

TEST_F(MenuButtonTest, TheKeyboardGoesIntoAndOutOfMenus) {
    PopupMenuWindow* menu = file->Menu();
    PopupMenuWindow* sub = more->Menu();
    file->OpenMenu();
    Find(menu, "Open")->Select();
    Key(menu, kDown);
    ASSERT_TRUE(more->IsSelected());
    // Right on a submenu entry opens its menu with the first entry selected.
    Key(menu, kRight);
    ASSERT_TRUE(sub->IsVisible());
    EXPECT_TRUE(Find(sub, "Entry0")->IsSelected());
    Key(sub, kDown);
    EXPECT_TRUE(Find(sub, "Entry1")->IsSelected());
    // Left leaves it again, back to the menu it came from.
    Key(sub, kLeft);
    EXPECT_FALSE(sub->IsVisible());
    EXPECT_TRUE(menu->IsVisible());
    EXPECT_TRUE(NativeOf(menu).HasFocus());
    // Enter on the entry opens it too, as a click does.
    Key(menu, 13);
    EXPECT_TRUE(sub->IsVisible());
    // Escape in the submenu closes only the submenu.
    Key(sub, 27);
    EXPECT_FALSE(sub->IsVisible());
    EXPECT_TRUE(menu->IsVisible());
}

TEST_F(MenuTest, TooltipWrapsItsTextInItsBorders) {
    Main();
    const std::string text =
        "<Test::FixedText Stretchable=\"0\" Text=\"\" Color=\"232,234,240,255\" "
        "SelectedColor=\"232,234,240,255\"><Font Family=\"DejaVu Sans\" Size=\"11\" "
        "Style=\"Regular\" Conversion=\"Point\"/></Test::FixedText>";
    auto* tip = Menu<ToolTip>(
        "<Pym::ToolTip Width=\"5\" Height=\"5\" XBorderSize=\"8\" "
        "YBorderSize=\"4\" Text=\"Tap to set the tempo\">" +
        Place("Text", "0", "0", "1", "1", text) + "</Pym::ToolTip>");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->StayOpen(), 1);
    EXPECT_FALSE(tip->IsVisible());
    EXPECT_EQ(tip->GetWidth(), 58);
    EXPECT_EQ(tip->GetHeight(), 16);
    auto* label = dynamic_cast<Text*>(tip->TextObject());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetText(), "Tap to set the tempo");
    EXPECT_EQ(label->GetRect(), (GuiObject::Rect{4, 2, 50, 12}));
    // Placed in the layout: a relayout keeps it there.
    tip->ResetCachedRect();
    tip->Relayout();
    EXPECT_EQ(label->GetRect(), (GuiObject::Rect{4, 2, 50, 12}));

    // Drawn as a filled box with a one-pixel border.
    Testing::RecordingDrawContext context;
    tip->DrawSelf(context);
    ASSERT_EQ(context.drawn.size(), 2u);

    // Shown, it does not take the keyboard, and losing the focus does not hide it.
    tip->PopupAt(20, 30);
    EXPECT_TRUE(tip->IsVisible());
    EXPECT_FALSE(NativeOf(tip).HasFocus());
    NativeOf(tip).Inject(Type::FocusLost);
    host.Pump();
    EXPECT_TRUE(tip->IsVisible());
}

TEST_F(MenuTest, TooltipWithoutATextObjectStaysEmptyWithAWarning) {
    Main();
    auto* tip = Menu<ToolTip>(
        "<Pym::ToolTip Width=\"7\" Height=\"9\" XBorderSize=\"8\" YBorderSize=\"4\" Text=\"Hi\">" +
        Place("Label", "0", "0", "1", "1", Swatch()) + "</Pym::ToolTip>");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->TextObject(), nullptr);
    EXPECT_TRUE(Traced("Warning: GetXMLObject: Failed to find object named Text"));
    EXPECT_EQ(tip->GetWidth(), 7);
    EXPECT_EQ(tip->GetHeight(), 9);
}

TEST_F(MenuTest, AnObjectWithATooltipShowsItAboveItselfOnHover) {
    InstallToolTipFactory();
    Write("XML/Main/ToolTip.xml",
          "<Pym::ToolTip Width=\"5\" Height=\"5\" XBorderSize=\"8\" YBorderSize=\"4\" Text=\"\">" +
              Place("Text", "0", "0", "1", "1",
                    "<Test::FixedText Stretchable=\"0\" Text=\"\" Color=\"232,234,240,255\" "
                    "SelectedColor=\"232,234,240,255\"><Font Family=\"DejaVu Sans\" Size=\"11\" "
                    "Style=\"Regular\" Conversion=\"Point\"/></Test::FixedText>") +
              "</Pym::ToolTip>");
    Main(Place("Panel", "100px", "60px", "120px", "100px",
               "<Pym::GridLayout>" +
                   Place("Play", "20px", "40px", "40px", "30px", Swatch("ToolTip=\"Start\"")) +
                   "</Pym::GridLayout>"));
    const std::size_t windows = host.Windows().size();
    mainNative->SetFocused(true);
    mainNative->Inject(Type::FocusGained);
    mainNative->Inject(Type::MouseMove, 135, 110);
    ASSERT_EQ(host.Windows().size(), windows + 1);
    Testing::OffscreenWindow& tip = *host.Last();
    EXPECT_TRUE(tip.IsVisible());
    EXPECT_EQ(tip.Kind(), Platform::WindowKind::Popup);
    // At the pointer's x, 2 pixels above the object (at y 100 in the window), 16 high; the
    // main window is at (10, 20).
    EXPECT_EQ(tip.Geometry(), (Platform::HostRect{10 + 135, 20 + 100 - 16 - 2, 58, 16}));
    EXPECT_TRUE(mainNative->HasFocus());

    // Off the object, it goes.
    mainNative->Inject(Type::MouseMove, 30, 30);
    EXPECT_FALSE(tip.IsVisible());
}

}  // namespace
