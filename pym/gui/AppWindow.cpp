#include "pym/gui/AppWindow.h"

#include <algorithm>
#include <cmath>

#include "pym/core/ObjectFactory.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ScreenManager.h"

namespace Pym {

namespace {

// Without a template of its own: the window template's root would make a plain window.
const bool registered = RegisterType<AppWindow>("Pym::AppWindow", "");

// Halves go away from zero.
int Nearest(double value) {
    return static_cast<int>(std::lround(value));
}

// Handles named anywhere in a tree: the first match, depth first.
GuiObject* FindDescendant(GuiObject* root, const std::string& name) {
    for (GuiObject* child : root->Children()) {
        if (child->GetName() == name) return child;
        if (GuiObject* found = FindDescendant(child, name)) return found;
    }
    return nullptr;
}

}  // namespace

AppWindow::AppWindow() {
    SetForceSelected(true);
}

bool AppWindow::LoadFromXml(TiXmlElement* element) {
    if (!Window::LoadFromXml(element)) return false;
    ReadAttribute(preserveAspect_, element, "PreserveAspect");
    ReadAttribute(resizeMinFactor_, element, "ResizeMinFactor");
    std::string globalName;
    if (ReadAttribute(globalName, element, "GlobalName"))
        DllGlobalObjectFactoryInstance().RegisterGlobalName(globalName, this);
    return true;
}

void AppWindow::CreateFromXml(TiXmlElement* element) {
    Window::CreateFromXml(element);
    // A skin may group its handles in a part of the window (shared with its screens).
    resizeGrip_ = FindObject(this, "Resize");
    if (!resizeGrip_) resizeGrip_ = FindDescendant(this, "Resize");
    moveHandle_ = FindObject(this, "Move");
    if (!moveHandle_) moveHandle_ = FindDescendant(this, "Move");
}

GuiObject* AppWindow::ShownHandle(GuiObject* own, const std::string& name) {
    ScreenManager* screens = FindScreenManager();
    GuiObject* shown = screens ? screens->Shown() : nullptr;
    if (!shown || shown == this) return own;
    return FindDescendant(shown, name);
}

void AppWindow::OnLeftButtonDown(Signal::LeftButtonDown& signal) {
    resizePressed_ = Hits(ResizeGrip(), signal.x, signal.y);
    movePressed_ = Hits(MoveHandle(), signal.x, signal.y);
    pressX_ = signal.x;
    pressY_ = signal.y;
    if (resizePressed_ && preserveAspect_ && signal.y > 0) {
        const double ratio = static_cast<double>(GetHeight()) / signal.y;
        Resize(static_cast<int>(GetWidth() / ratio), signal.y);
    }
    if (minWidth_ == 0 && minHeight_ == 0) {
        minWidth_ = Nearest(GetWidth() * static_cast<double>(resizeMinFactor_));
        minHeight_ = Nearest(GetHeight() * static_cast<double>(resizeMinFactor_));
    }
    if (preserveAspect_ && aspect_ == 0.0f && GetWidth() > 0)
        aspect_ = static_cast<float>(GetHeight()) / static_cast<float>(GetWidth());
}

void AppWindow::OnMouseMove(Signal::MouseMove& signal) {
    Window::OnMouseMove(signal);
    const int x = signal.x, y = signal.y;
    if ((movePressed_ || resizePressed_) && !IsMaximized()) {
        const int dx = x - pressX_, dy = y - pressY_;
        if (movePressed_) {
            // The window follows the pointer, so the press point stays where it is.
            Move(GetX() + dx, GetY() + dy);
        } else {
            if (preserveAspect_ && aspect_ > 0.0f)
                Resize(std::max(Nearest(y / aspect_), minWidth_), std::max(y, minHeight_));
            else
                Resize(GetWidth() + dx, GetHeight() + dy);
            pressX_ = x;
            pressY_ = y;
        }
    }
    SetCursor(Hits(ResizeGrip(), x, y) ? 2 : 0);
}

void AppWindow::OnLeftButtonUp(Signal::LeftButtonUp& signal) {
    Window::OnLeftButtonUp(signal);
    movePressed_ = false;
    resizePressed_ = false;
}

void AppWindow::OnWindowSized(Signal::WindowSized& signal) {
    // A report that a later resize has overtaken would size the window back, and that resize
    // would report again: the two would take turns for ever. Only the host's size counts.
    if (PymWnd* host = Host()) {
        const Platform::HostRect at = host->Native().Geometry();
        if (at.width != signal.width || at.height != signal.height) return;
    }
    Resize(signal.width, signal.height);
    Relayout();
    Window::OnWindowSized(signal);
    Redraw();
}

}  // namespace Pym
