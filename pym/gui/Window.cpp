#include "pym/gui/Window.h"

#include <algorithm>

#include "pym/core/Document.h"
#include "pym/gfx/Image.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ScreenManager.h"

namespace Pym {

namespace {

const bool registered = RegisterType<Window>("Pym::Window", "$PYM/Objects/Window/Window.xml");
const bool registeredClose = RegisterSlot("Pym::Window::CloseSlot", &Window::CloseSlot);
const bool registeredHide = RegisterSlot("Pym::Window::HideSlot", &Window::HideSlot);
const bool registeredMinimize = RegisterSlot("Pym::Window::MinimizeSlot", &Window::MinimizeSlot);
const bool registeredMaxRestore =
    RegisterSlot("Pym::Window::MaxRestoreSlot", &Window::MaxRestoreSlot);
const bool registeredToggle =
    RegisterSlot("Pym::Window::ToggleVisibilitySlot", &Window::ToggleVisibilitySlot);

const char* const kEmptyElement =
    "Pym::Window::LoadFromXml - Empty XML element - Window requires valid XML for construction";

// An element that says nothing: no attribute or child besides the name (and aliases) that
// the factory gives every object it creates.
bool IsEmptyElement(const TiXmlElement* element) {
    for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next())
        if (std::string(a->Name()) != "Name") return false;
    for (const TiXmlElement* c = element->FirstChildElement(); c; c = c->NextSiblingElement())
        if (c->ValueStr() != "Alias") return false;
    return true;
}

Platform::WindowKind KindOf(Window::Type type) {
    switch (type) {
        case Window::Child:
            return Platform::WindowKind::Child;
        case Window::Popup:
            return Platform::WindowKind::Popup;
        default:
            return Platform::WindowKind::Application;
    }
}

}  // namespace

Window::Window() {
    SetIsWindow(true);
}

Window::~Window() {
    if (!host_) return;
    // Objects loaded later from this window's document must not find it or its manager.
    if (Document* document = Document::Of(GetElement())) {
        if (document->ownerScreenManager == &host_->Screens())
            document->ownerScreenManager = nullptr;
        if (document->ownerWindow == this) document->ownerWindow = nullptr;
    }
    SetScreenManager(nullptr);
    host_.reset();
}

// --- loading ------------------------------------------------------------------------------

bool Window::LoadFromXml(TiXmlElement* element) {
    if (IsEmptyElement(element)) {
        Trace(kEmptyElement);
        return true;
    }
    ReadType(element);
    int x = 0, y = 0, width = 0, height = 0;
    ReadAttribute(x, element, "XPos");
    ReadAttribute(y, element, "YPos");
    ReadAttribute(width, element, "Width");
    ReadAttribute(height, element, "Height");
    // A size below zero means nothing; the window is as small as the host allows.
    SetX(x);
    SetY(y);
    SetSizeUnchecked(std::max(width, 0), std::max(height, 0));
    if (type_ == Application) ReadAttribute(title_, element, "Title");
    // The native window is made shaped or not.
    ReadAttribute(shaped_, element, "ShapedWindow");
    CreateHost(element);
    if (!GridLayout::LoadFromXml(element)) return false;
    if (host_) SetScreenManager(&host_->Screens());
    std::string icon;
    if (type_ == Application && ReadAttribute(icon, element, "Icon")) SetIcon(icon);
    ReadAttribute(startVisible_, element, "Visible");
    return true;
}

void Window::CreateFromXml(TiXmlElement* element) {
    if (IsEmptyElement(element)) return;
    GridLayout::CreateFromXml(element);
    ResetCachedRect();
    Relayout();
    SetVisible(type_ != Popup && startVisible_);
}

void Window::ReadType(const TiXmlElement* element) {
    std::string text = "Application";
    ReadAttribute(text, element, "Type");
    if (text == "Child") {
        type_ = Child;
    } else if (text == "Popup") {
        type_ = Popup;
    } else {
        type_ = Application;
        // Reported, not thrown: the window still works as an application window.
        if (text != "Application") Trace(XmlErrorText(element, "Bad window type specified"));
    }
}

Window* Window::MainWindowOf(const TiXmlElement* element) const {
    Document* document = Document::Of(element);
    return document ? dynamic_cast<Window*>(document->LookupOwnerWindow()) : nullptr;
}

void Window::CreateHost(const TiXmlElement* element) {
    Document* document = Document::Of(element);
    Platform::HostWindow* ownerHost = nullptr;
    if (type_ != Application) {
        Window* owner = MainWindowOf(element);
        if (!owner || !owner->host_) {
            Trace("Pym::Window - no main window to own " + GetName());
            return;
        }
        ownerHost = &owner->host_->Native();
    }
    host_ = PymWnd::Create(*this, KindOf(type_), ownerHost,
                           {GetX(), GetY(), GetWidth(), GetHeight()}, title_, shaped_);
    if (!host_) {
        const std::string why = Platform::Host().LastError();
        Trace("Pym::Window - the host window could not be created" +
              (why.empty() ? std::string() : ": " + why));
        return;
    }
    if (document) {
        document->ownerScreenManager = &host_->Screens();
        if (type_ == Application) document->ownerWindow = this;
    }
    host_->Screens().SetScreenArea(GetWidth(), GetHeight());
    if (type_ == Popup) MoveHost(GetX(), GetY());
}

// --- host operations ----------------------------------------------------------------------

const Platform::HostWindow* Window::OwnerHost() const {
    if (type_ == Application) return nullptr;
    // Looked up each time: the main window may be gone, and then its document says so.
    Window* owner = MainWindowOf(GetElement());
    return owner && owner->host_ ? &owner->host_->Native() : nullptr;
}

void Window::MoveHost(int x, int y) {
    if (!host_) return;
    Platform::HostWindow& native = host_->Native();
    const Platform::HostWindow* owner = OwnerHost();
    if (type_ != Popup || !owner) {
        native.MoveTo(x, y);
        return;
    }
    const Platform::HostRect ownerRect = owner->Geometry();
    Platform::HostRect rect{ownerRect.x + x, ownerRect.y + y, GetWidth(), GetHeight()};
    rect = PullInsideMonitor(rect, native.MonitorBounds());
    native.MoveTo(rect.x, rect.y);
}

void Window::Move(int x, int y) {
    if (host_) {
        const Platform::HostRect at = host_->Native().Geometry();
        if (IsMaximized()) {
            if (x != at.x || y != at.y) MoveHost(x, y);
        } else if (const Platform::HostWindow* owner = OwnerHost(); type_ == Popup && owner) {
            const Platform::HostRect ownerAt = owner->Geometry();
            if (x != ownerAt.x || y != ownerAt.y) MoveHost(x, y);
        } else {
            MoveHost(x, y);
        }
        shapeValid_ = false;
    }
    GridLayout::Move(x, y);
}

bool Window::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == GetWidth() && height == GetHeight()) return true;
    if (!host_) return false;
    const Platform::HostRect at = host_->Native().Geometry();
    if (IsMaximized() && at.width == width && at.height == height) {
        shapeValid_ = false;
        return false;
    }
    if (!GridLayout::Resize(width, height)) return false;
    host_->Native().SizeTo(width, height);
    host_->Screens().SetScreenArea(width, height);
    shapeValid_ = false;
    Relayout();
    // The shown screen and the outline take the size now, not when the host reports it: a grip
    // dragged outwards would otherwise leave the old outline at once and lose the pointer.
    Signal::WindowSized sized(width, height);
    host_->Screens().Deliver(sized);
    return true;
}

void Window::HostMoved(int x, int y) {
    if (type_ == Popup) return;  // a popup keeps its position relative to its owner
    GridLayout::Move(x, y);
}

void Window::SetVisible(bool visible) {
    GridLayout::SetVisible(visible);
    if (!host_) return;
    if (!visible) {
        host_->Native().Hide();
        return;
    }
    host_->Native().Show();
    UpdateShape();
    Signal::ConnectXMLSlots connect;
    connect.sender = this;
    DeliverSignal(connect, true);
    VisibleSignal announce(this);
    SendSignalToSelf(announce);
}

void Window::OnParentVisible(Signal::WindowVisible& signal) {
    if (type_ == Child && signal.window && signal.window != this)
        SetVisible(signal.window->IsVisible());
}

void Window::UpdateShape() {
    if (shapeValid_ || !host_ || !shaped_) return;
    host_->UpdateShape();
    shapeValid_ = true;
}

void Window::Reshape() {
    shapeValid_ = false;
    if (IsVisible()) UpdateShape();
}

void Window::OnWindowSized(Signal::WindowSized&) {
    if (!shaped_) return;
    shapeValid_ = false;
    UpdateShape();
}

void Window::DoModal(Window* relativeTo) {
    if (!host_) return;
    if (relativeTo) Move(relativeTo->GetX() + GetX(), relativeTo->GetY() + GetY());
    SetVisible(true);
    host_->Native().Focus();
    ConnectAndAnnounceReady(this);
    modal_ = true;
    Platform::HostWindow* blocked = relativeTo && relativeTo != this && relativeTo->host_
                                        ? &relativeTo->host_->Native()
                                        : nullptr;
    if (blocked) blocked->SetInputEnabled(false);
    Platform::Host().RunLoop([this] { return modal_; });
    modal_ = false;
    if (blocked) blocked->SetInputEnabled(true);
    // A closed dialog does not stay on the screen after its run.
    if (IsVisible()) SetVisible(false);
}

void Window::Close() {
    if (modal_)
        modal_ = false;
    else
        SetVisible(false);
    CloseSignal closed(0, this);
    SendSignalToSelf(closed);
}

void Window::MaxRestoreSlot(Signal::Base&) {
    if (IsMaximized())
        Restore();
    else
        Maximize();
}

void Window::Maximize() {
    if (host_) host_->Native().Maximize();
}

void Window::Minimize() {
    if (host_) host_->Native().Minimize();
}

void Window::Restore() {
    if (host_) host_->Native().Restore();
}

bool Window::IsMaximized() const {
    return host_ && host_->Native().IsMaximized();
}

bool Window::IsMinimized() const {
    return host_ && host_->Native().IsMinimized();
}

void Window::SetCursor(int type) {
    if (!host_ || type < 0 || type > 2) return;
    host_->Native().SetCursor(static_cast<Platform::CursorType>(type));
}

void Window::SetIcon(const std::string& path) {
    if (!host_) return;
    try {
        Gfx::ImagePtr icon = Gfx::Image::FromFile(path);
        cairo_surface_t* surface = icon->Surface();
        cairo_surface_flush(surface);
        host_->Native().SetIcon(
            reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface)),
            icon->Width(), icon->Height(), cairo_image_surface_get_stride(surface));
    } catch (const Gfx::Image::InvalidImageException& error) {
        // A window without its icon still works.
        Trace(std::string("Pym::Window::SetIcon - ") + error.what());
    }
}

void Window::SetTitle(const std::string& title) {
    title_ = title;
    if (host_) host_->Native().SetTitle(title);
}

}  // namespace Pym
