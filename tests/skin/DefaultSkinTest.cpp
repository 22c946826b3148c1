// Builds the default skin's own windows from its documents and looks at them: the outline is
// cut where it should be, the title bar and controls sit where a user expects them, and every
// control explains itself. With ONDREL_SKIN_PNG set to a folder, each window is also written
// there as a PNG at its default size and at twice that size, to be looked at.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "pym/core/DocMap.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/AppWindow.h"
#include "pym/gui/GridLayout.h"
#include "pym/gui/ImageButton.h"
#include "pym/gui/MenuButton.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/PopupMenuWindow.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/Text.h"
#include "pym/gui/ToolTip.h"
#include "pym/gui/ToolTipHook.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/OffscreenHost.h"
#include "tests/support/SkinLook.h"
#include "tests/support/VirtualAudio.h"

namespace fs = std::filesystem;
using Type = Platform::HostEvent::Type;

namespace {

using namespace Testing::Look;

class DefaultSkinTest : public Testing::WidgetFixture {
protected:
    void SetUp() override {
        WidgetFixture::SetUp();
        // The main window shows its metronome screen, which opens the sound device and mixer.
        Testing::InstallVirtualDevice();
        Testing::InstallMemoryMixer();
        UseRealSkin();
        fs::copy(fs::path(ONDREL_SOURCE_DIR) / "skin" / "XML", dir.Path() / "XML",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    // The skin's window element built as an application window, as start-up does with the
    // main window. The message box and About window are built the same way here: their own
    // classes add behaviour, not looks.
    Pym::AppWindow* BuildWindow(TiXmlElement* element) {
        EXPECT_NE(element, nullptr);
        if (!element) return nullptr;
        auto window = std::make_unique<Pym::AppWindow>();
        if (!window->Build(element)) return nullptr;
        windows.push_back(std::move(window));
        host.Pump();
        return windows.back().get();
    }
    template <class T = Pym::GuiObject>
    T* Find(Pym::GuiObject* scope, const std::string& name) {
        return dynamic_cast<T*>(Pym::FindObject(scope, name));
    }

    // Draws the window at its size; with ONDREL_SKIN_PNG set, writes it as name.png there.
    std::unique_ptr<Testing::Canvas> Render(Pym::GuiObject& window, const std::string& name) {
        if (!window.IsVisible()) {
            window.SetVisible(true);  // dialogs start hidden until they are run
            host.Pump();
        }
        auto canvas = std::make_unique<Testing::Canvas>(window.GetWidth(), window.GetHeight());
        window.Draw(canvas->context);
        if (const char* folder = std::getenv("ONDREL_SKIN_PNG"))
            cairo_surface_write_to_png(canvas->buffer->Surface(),
                                       (fs::path(folder) / (name + ".png")).c_str());
        return canvas;
    }
    // Renders at the default size and at twice it, then returns to the default size.
    void RenderBothSizes(Pym::AppWindow& window, const std::string& name) {
        const int width = window.GetWidth(), height = window.GetHeight();
        Render(window, name);
        window.Resize(2 * width, 2 * height);
        window.Relayout();
        host.Pump();
        Render(window, name + "-2x");
        window.Resize(width, height);
        window.Relayout();
        host.Pump();
    }

    Testing::OffscreenHost host;
    std::vector<std::unique_ptr<Pym::AppWindow>> windows;
};

TEST_F(DefaultSkinTest, MainWindowIsARoundedShapeWithTitleBarControls) {
    TiXmlElement* root = loader.GetRootElement("XML/Metronome.xml");
    ASSERT_NE(root, nullptr);
    Pym::AppWindow* app = BuildWindow(loader.GetChildElement(root, "MetronomeApp"));
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->GetWidth(), 720);
    EXPECT_EQ(app->GetHeight(), 480);
    ASSERT_NE(app->MoveHandle(), nullptr);
    ASSERT_NE(app->ResizeGrip(), nullptr);
    for (const char* control : {"About", "Minimise", "Close"}) {
        SCOPED_TRACE(control);
        auto* button = Find<Pym::ImageButton>(app, std::string("Chrome->") + control);
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->ToolTipText().empty());
        // Title-bar buttons sit in the bar, right of the drag handle, so a press on them
        // never drags the window.
        EXPECT_LT(button->GetY() + button->GetHeight(), 41);
        EXPECT_GE(button->GetX(), app->MoveHandle()->GetWidth());
    }
    EXPECT_FALSE(app->MoveHandle()->ToolTipText().empty());
    EXPECT_FALSE(app->ResizeGrip()->ToolTipText().empty());
    // The grip sits in the lower right corner.
    EXPECT_GT(app->ResizeGrip()->GetX(), 690);
    EXPECT_GT(app->ResizeGrip()->GetY(), 450);
    EXPECT_LE(app->ResizeGrip()->GetX() + app->ResizeGrip()->GetWidth(), 720);
    EXPECT_LE(app->ResizeGrip()->GetY() + app->ResizeGrip()->GetHeight(), 480);

    app->SetVisible(true);
    host.Pump();
    Testing::OffscreenWindow& native = *host.Last();
    // Cut at the corners, kept along the edges and inside.
    for (auto [x, y] : {std::pair{0, 0}, {719, 0}, {0, 479}, {719, 479}, {2, 2}}) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_FALSE(native.InsideShape(x, y));
    }
    for (auto [x, y] : {std::pair{360, 0}, {0, 240}, {360, 479}, {719, 240}, {360, 240}, {8, 8}})
        EXPECT_TRUE(native.InsideShape(x, y));

    auto canvas = Render(*app, "main");
    EXPECT_EQ(canvas->At(0, 0) >> 24, 0u);                // transparent corner
    EXPECT_EQ(canvas->At(300, 20), kPanel);               // the title bar
    EXPECT_EQ(canvas->At(300, 200), kBackground);         // the empty screen area
    EXPECT_NE(canvas->At(300, 40), canvas->At(300, 20));  // the rule under the title bar

    // Twice the size: the outline and the bar follow, the corners stay cut.
    app->Resize(1440, 960);
    app->Relayout();
    host.Pump();
    EXPECT_FALSE(native.InsideShape(1439, 959));
    EXPECT_TRUE(native.InsideShape(1439, 480));
    EXPECT_EQ(Find(app, "Chrome->Close")->GetX(), 1440 - 44);
    auto large = Render(*app, "main-2x");
    EXPECT_EQ(large->At(1000, 20), kPanel);
    EXPECT_EQ(large->At(1000, 500), kBackground);
    app->Resize(720, 480);
    app->Relayout();
    host.Pump();

    // A title-bar button at rest is the bar's colour but still takes the pointer (a
    // transparent picture would not), and lights up under it.
    auto* close = Find(app, "Chrome->Close");
    const int x = close->GetX() + 14, y = close->GetY() + 14;
    const int corner = close->GetX() + 4;
    EXPECT_EQ(Render(*app, "main")->At(corner, y), kPanel);
    native.SetFocused(true);
    native.Inject(Type::MouseMove, x, y);
    EXPECT_TRUE(close->IsMouseOver());
    EXPECT_GT(Brightness(Render(*app, "main-hover")->At(corner, y)), Brightness(kPanel));

    // Dragging the grip resizes the window in its proportions, and the controls follow; it
    // stops at the smallest size at which every label still reads (narrower ones cut them).
    {
        const int gx = app->ResizeGrip()->GetX() + 8, gy = app->ResizeGrip()->GetY() + 8;
        native.Inject(Type::LeftDown, gx, gy);
        native.Inject(Type::MouseMove, gx + 80, gy + 60);
        native.Inject(Type::LeftUp, gx + 80, gy + 60);
        host.Pump();
        const int width = app->GetWidth(), height = app->GetHeight();
        EXPECT_EQ(height, gy + 60);
        EXPECT_NEAR(width, height * 1.5, 1.0);
        EXPECT_EQ(Find(app, "Chrome->Close")->GetX(), width - 44);
        EXPECT_FALSE(native.InsideShape(width - 1, height - 1));
        native.Inject(Type::LeftDown, width - 8, height - 8);
        native.Inject(Type::MouseMove, 20, 20);
        native.Inject(Type::LeftUp, 20, 20);
        host.Pump();
        EXPECT_GE(app->GetWidth(), 432);
        EXPECT_GE(app->GetHeight(), 288);
        EXPECT_LT(app->GetWidth(), width * 2 / 3);
        app->Resize(720, 480);
        app->Relayout();
        host.Pump();
    }

    // The close button is wired to the window: a click closes it.
    native.Inject(Type::LeftDown, x, y);
    native.Inject(Type::LeftUp, x, y);
    EXPECT_FALSE(app->IsVisible());
}

TEST_F(DefaultSkinTest, MessageBoxButtonsShowTheirCaptionAndTheMessageFits) {
    Pym::AppWindow* box = BuildWindow(loader.GetRootElement("XML/Main/MessageBox.xml"));
    ASSERT_NE(box, nullptr);
    TiXmlElement* boxElement = box->GetElement();
    ASSERT_NE(boxElement, nullptr);
    EXPECT_STREQ(boxElement->Value(), "MessageBoxA");
    ASSERT_NE(boxElement->Attribute("ObjectXML"), nullptr);
    const std::string buttonDocument = boxElement->Attribute("ObjectXML");
    auto* container = Find<Pym::GridLayout>(box, "ButtonContainer");
    auto* message = Find<Pym::Text>(box, "Message");
    ASSERT_NE(container, nullptr);
    ASSERT_NE(message, nullptr);
    message->SetText("CRITICAL PROBLEM: No sound card has been detected!");

    // The buttons as the box makes them: the template's root named by the caption.
    std::vector<std::unique_ptr<Pym::GuiObject>> buttons;
    const std::vector<std::string> captions{"RETRY", "CANCEL"};
    for (std::size_t v = 1; v <= captions.size(); ++v) {
        TiXmlElement* root = loader.GetRootElement(buttonDocument);
        ASSERT_NE(root, nullptr);
        root->SetAttribute("Name", captions[v - 1]);
        buttons.emplace_back(Pym::CreateNamedObject(root->ValueStr(), captions[v - 1], box, root));
        ASSERT_NE(dynamic_cast<Pym::ImageButton*>(buttons.back().get()), nullptr);
        EXPECT_FALSE(buttons.back()->ToolTipText().empty());
        const float spacing = 1.0f / 3, half = 0.125f;
        container->AddChildAtFractions(buttons.back().get(), v * spacing - half, 0, 0.25f, 1.0f);
        auto* caption = Find<Pym::Text>(buttons.back().get(), "Caption");
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->GetText(), captions[v - 1]);
    }
    // Buttons below the message, inside the box.
    EXPECT_GT(container->GetY(), message->GetY() + message->GetHeight());
    EXPECT_LT(container->GetY() + container->GetHeight(), box->GetHeight());

    auto canvas = Render(*box, "messagebox");
    EXPECT_EQ(canvas->At(0, 0) >> 24, 0u);
    EXPECT_EQ(canvas->At(box->GetWidth() / 2, 30), kPanel);
    // A button's face, and the gap of panel between it and the box's edge.
    const int buttonY = container->GetY() + container->GetHeight() / 2;
    EXPECT_NE(canvas->At(container->GetX() + container->GetWidth() / 3, buttonY), kPanel);
    EXPECT_EQ(canvas->At(container->GetX() + 2, buttonY), kPanel);
    RenderBothSizes(*box, "messagebox");

    for (auto& button : buttons) container->RemoveChild(button.get(), false);
}

TEST_F(DefaultSkinTest, AboutWindowShowsItsVersionAndOpensDocumentsThatExist) {
    Pym::AppWindow* about = BuildWindow(loader.GetRootElement("XML/Main/About.xml"));
    ASSERT_NE(about, nullptr);
    EXPECT_STREQ(about->GetElement()->Value(), "AboutWindow");
    auto* version = Find<Pym::Text>(about, "Version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->GetText(), "Version");
    for (const char* child : {"Help", "License"}) {
        SCOPED_TRACE(child);
        TiXmlElement* element = loader.GetChildElement(about->GetElement(), child);
        const char* data = element->Attribute("Data");
        ASSERT_NE(data, nullptr);
        // Opened from the skin folder, where the program runs.
        EXPECT_TRUE(fs::is_regular_file(fs::path(ONDREL_SOURCE_DIR) / "skin" / data));
        auto* button = Find<Pym::ImageButton>(about, child);
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->ToolTipText().empty());
    }
    auto* close = Find<Pym::ImageButton>(about, "Close");
    ASSERT_NE(close, nullptr);
    EXPECT_FALSE(close->ToolTipText().empty());
    version->SetText("Version v4.0.810");
    // Its buttons are wired to the About window's own slots; built as a plain application
    // window here, those cannot connect, so they are checked by name and then left out.
    std::set<std::string> slots;
    for (TiXmlElement* connect : loader.GetChildElements(about->GetElement(), "Connect")) {
        slots.insert(connect->Attribute("SignalObject") + std::string(" ") +
                     connect->Attribute("Slot"));
        connect->SetAttribute("__SlotConnected__", "true");
    }
    EXPECT_EQ(slots, (std::set<std::string>{"Close AboutWindow::CloseClickedSlot",
                                            "Help AboutWindow::HelpActiveSlot",
                                            "License AboutWindow::LicenseActiveSlot"}));

    auto canvas = Render(*about, "about");
    EXPECT_EQ(canvas->At(0, 0) >> 24, 0u);
    EXPECT_EQ(canvas->At(about->GetWidth() - 2, about->GetHeight() - 2) >> 24, 0u);
    EXPECT_EQ(canvas->At(60, 80), kPanel);
    RenderBothSizes(*about, "about");
}

// A drop-down as a screen shows it: a menu button, its open list of rows from the skin's
// entry document with one row selected, and the tooltip of the button above it. The three
// windows are drawn into one picture where they sit on the screen ("dropdown.png").
TEST_F(DefaultSkinTest, MenuButtonWithItsOpenListAndATooltip) {
    Pym::InstallToolTipFactory();
    std::string rows;
    const char* names[] = {"Click", "Woodblock", "Cowbell", "Voice"};
    for (int i = 0; i < 4; ++i)
        rows += "<CreateObject Name=\"" + std::string(names[i]) + "\" XPos=\"0\" YPos=\"" +
                std::to_string(i * 0.25) + "\" Width=\"1\" Height=\"0.25\" TabCoordX=\"0\" " +
                "TabCoordY=\"" + std::to_string(i) +
                "\"><Pym::ImageButton BaseXML=\"XML/Main/ComboEntry.xml\"/></CreateObject>";
    Write("XML/Look/Sounds.xml",
          "<Pym::PopupMenuWindow BaseXML=\"default\" Width=\"180\" Height=\"128\">"
          "<CreateObject Name=\"Panel\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
          "<Pym::Image BaseXML=\"default\" ImageFile=\"images/menu/panel.svg\"/></CreateObject>" +
              rows + "</Pym::PopupMenuWindow>");
    Write("XML/Look/Main.xml",
          "<Pym::Window Type=\"Application\" XPos=\"0\" YPos=\"0\" Width=\"300\" Height=\"230\">"
          "<CreateObject Name=\"Back\" XPos=\"0\" YPos=\"0\" Width=\"1\" Height=\"1\">"
          "<Pym::Image BaseXML=\"default\" ImageFile=\"images/window/panel.svg\"/></CreateObject>"
          "<CreateObject Name=\"Sound\" XPos=\"40px\" YPos=\"50px\" Width=\"180px\" "
          "Height=\"32px\"><Pym::MenuButton BaseXML=\"default\" Menu=\"XML/Look/Sounds.xml\" "
          "ToolTip=\"Choose the click sound\">"
          "<CreateObject Name=\"Label\" XPos=\"12px\" YPos=\"0\" Width=\"1-24px\" Height=\"1\">"
          "<Pym::Text2 BaseXML=\"default\" Text=\"CLICK\" Alignment=\"Left\" MaxWidth=\"-1\" "
          "Color=\"232,234,240,255\"/></CreateObject></Pym::MenuButton></CreateObject>"
          "</Pym::Window>");
    TiXmlElement* root = loader.GetRootElement("XML/Look/Main.xml");
    std::unique_ptr<Pym::GuiObject> main(
        Pym::CreateNamedObject("Pym::Window", "Look", nullptr, root));
    ASSERT_NE(main, nullptr);
    host.Pump();
    Testing::OffscreenWindow& mainNative = *host.Windows().front();
    auto* button = Find<Pym::MenuButton>(main.get(), "Sound");
    ASSERT_NE(button, nullptr);
    Pym::PopupMenuWindow* menu = button->Menu();
    ASSERT_NE(menu, nullptr);

    button->OpenMenu();
    ASSERT_TRUE(menu->IsVisible());
    Find(menu, "Woodblock")->Select();
    auto* caption = Find<Pym::Text>(Find(menu, "Cowbell"), "Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->GetText(), "Cowbell");
    // The pointer over the third row, and the tooltip of the button.
    Testing::OffscreenWindow& menuNative =
        static_cast<Testing::OffscreenWindow&>(menu->Host()->Native());
    menuNative.Inject(Type::MouseMove, 60, 80);
    mainNative.SetFocused(true);
    mainNative.Inject(Type::FocusGained);
    mainNative.Inject(Type::MouseMove, 120, 60);
    Testing::OffscreenWindow& tipNative = *host.Last();
    ASSERT_TRUE(tipNative.IsVisible());
    ASSERT_EQ(tipNative.Kind(), Platform::WindowKind::Popup);
    const Platform::HostRect tip = tipNative.Geometry();
    EXPECT_LT(tip.y + tip.height, 50);  // above the button
    EXPECT_GT(tip.width, 60);
    EXPECT_LT(tip.height, 30);

    // One picture of the screen, from what each window presented: the main window, the
    // list below the button, the tooltip above it.
    Testing::Canvas canvas(300, 230);
    cairo_surface_flush(canvas.buffer->Surface());
    unsigned char* data = cairo_image_surface_get_data(canvas.buffer->Surface());
    const int stride = cairo_image_surface_get_stride(canvas.buffer->Surface());
    for (Testing::OffscreenWindow* window : {&mainNative, &menuNative, &tipNative}) {
        window->Inject(Type::Expose);  // painted whole, as it is now
        const Platform::HostRect at = window->Geometry();
        for (int y = 0; y < at.height; ++y)
            for (int x = 0; x < at.width; ++x) {
                const int cx = at.x + x, cy = at.y + y;
                const std::uint32_t pixel = window->PixelAt(x, y);
                if (cx < 0 || cy < 0 || cx >= 300 || cy >= 230 || !(pixel >> 24)) continue;
                reinterpret_cast<std::uint32_t*>(data + cy * stride)[cx] = pixel;
            }
    }
    cairo_surface_mark_dirty(canvas.buffer->Surface());
    const Platform::HostRect list = menuNative.Geometry();
    EXPECT_EQ(list.x, 40);
    EXPECT_EQ(list.y, 82);
    if (const char* folder = std::getenv("ONDREL_SKIN_PNG"))
        cairo_surface_write_to_png(canvas.buffer->Surface(),
                                   (fs::path(folder) / "dropdown.png").c_str());
    // The selected row carries the accent at its left edge; a row at rest is the panel.
    EXPECT_EQ(canvas.At(list.x + 2, list.y + 32 + 16), kAccent);
    EXPECT_NEAR(Brightness(canvas.At(list.x + 150, list.y + 96 + 3)), Brightness(kPanel), 6);
    // The row under the pointer is raised above the panel.
    EXPECT_GT(Brightness(canvas.At(list.x + 150, list.y + 64 + 3)), Brightness(kPanel) + 20);
    // The tooltip is light text on a dark box.
    int brightest = 0;
    for (int x = tip.x; x < tip.x + tip.width; ++x)
        brightest = std::max(brightest, Brightness(canvas.At(x, tip.y + tip.height / 2)));
    EXPECT_GT(brightest, 500);
    EXPECT_LT(Brightness(canvas.At(tip.x + 2, tip.y + 2)), 200);
}

// Every type that names a library template finds it in the skin, as a document whose root
// is that type, so "BaseXML" "default" works for each of them.
TEST(DefaultSkinTemplatesTest, EveryRegisteredTemplateExistsWithItsTypeAsRoot) {
    const fs::path library = fs::path(ONDREL_SOURCE_DIR) / "skin" / "lib" / "PYM" / "XML";
    const std::string token = "$PYM/";
    int checked = 0;
    for (const std::string& type : Pym::DllGlobalObjectFactoryInstance().TypeNames()) {
        const std::string reference = Pym::DllDocMapInstance().GetDefaultXml(type);
        if (reference.rfind(token, 0) != 0) continue;
        SCOPED_TRACE(type);
        const fs::path file = library / reference.substr(token.size());
        TiXmlDocument document(file.string());
        if (!document.LoadFile() || !document.RootElement()) {
            ADD_FAILURE() << "missing or malformed: " << file;
            continue;
        }
        EXPECT_EQ(document.RootElement()->ValueStr(), type);
        ++checked;
    }
    EXPECT_GE(checked, 10);
}

}  // namespace
