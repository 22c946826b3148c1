#pragma once

#include <cstdio>
#include <string>

#include "platform/HostWindow.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/GuiObject.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/Window.h"
#include "tests/support/OffscreenHost.h"
#include "tests/support/SkinFixture.h"

namespace Testing {

// A skin folder with a message box of 420 x 200: the message on the top half, the button row
// on the bottom half, and buttons made of one opaque picture each.
class AppSkinFixture : public SkinFixture {
protected:
    void SetUp() override {
        SkinFixture::SetUp();
        Write("images/button.svg",
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\">"
              "<rect width=\"8\" height=\"8\" fill=\"#282c36\"/></svg>");
        Write("XML/Main/Button.xml", "<Pym::ImageButton>" + Picture("UnSelected") +
                                         Picture("Selected") + Picture("MouseOver") +
                                         "</Pym::ImageButton>");
        WriteMessageBox("");
    }
    void TearDown() override {
        // The framework's diagnostics say why a skin did not build.
        if (HasFailure())
            for (const std::string& text : traces) std::printf("trace: %s\n", text.c_str());
        SkinFixture::TearDown();
    }

    void WriteMessageBox(const std::string& attributes) {
        Write("XML/Main/MessageBox.xml",
              "<MessageBoxA ObjectXML=\"XML/Main/Button.xml\" Width=\"420\" Height=\"200\" " +
                  attributes + ">" + Place("Message", "0", "0", "1", "0.5", Text("")) +
                  Place("ButtonContainer", "0", "0.5", "1", "0.5", "<Pym::GridLayout/>") +
                  "</MessageBoxA>");
    }

    static std::string Place(const std::string& name, const std::string& x, const std::string& y,
                             const std::string& w, const std::string& h, const std::string& inner) {
        return "<CreateObject Name=\"" + name + "\" XPos=\"" + x + "\" YPos=\"" + y +
               "\" Width=\"" + w + "\" Height=\"" + h + "\">" + inner + "</CreateObject>";
    }
    static std::string Text(const std::string& text) {
        return "<Pym::Text Text=\"" + text +
               "\" Stretchable=\"0\" Color=\"232,234,240,255\" "
               "SelectedColor=\"255,138,61,255\"><Font Family=\"DejaVu Sans\" Size=\"12\" "
               "Style=\"Regular\" Conversion=\"Point\"/></Pym::Text>";
    }

    // Clicks the middle of an object in the window that shows it.
    void Click(Pym::GuiObject& object) {
        OffscreenWindow* window = WindowOf(object);
        ASSERT_NE(window, nullptr);
        const int x = object.GetAbsoluteX() + object.GetWidth() / 2;
        const int y = object.GetAbsoluteY() + object.GetHeight() / 2;
        window->Inject(Platform::HostEvent::Type::MouseMove, x, y);
        window->Inject(Platform::HostEvent::Type::LeftDown, x, y);
        window->Inject(Platform::HostEvent::Type::LeftUp, x, y);
    }
    // Finds a named object under the scope.
    template <class T = Pym::GuiObject>
    T* Find(Pym::GuiObject* scope, const std::string& path) {
        return dynamic_cast<T*>(Pym::FindObject(scope, path));
    }

    OffscreenHost host;

private:
    static std::string Picture(const std::string& state) {
        return "<" + state + "><Pym::Image ImageFile=\"images/button.svg\"/></" + state + ">";
    }
    static OffscreenWindow* WindowOf(Pym::GuiObject& object) {
        auto* window = dynamic_cast<Pym::Window*>(object.RouteRoot());
        if (!window || !window->Host()) return nullptr;
        return dynamic_cast<OffscreenWindow*>(&window->Host()->Native());
    }
};

}  // namespace Testing
