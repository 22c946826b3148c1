#include "pym/gui/ToolTip.h"

#include "pym/core/DocumentHold.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gfx/DrawContext.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/Text.h"
#include "pym/gui/ToolTipHook.h"

namespace Pym {

namespace {

// The documents a tooltip was loaded and resolved from, held for as long as it lives.
struct ToolTipDocuments {
    DocumentHold root;
    XMLLoadSave loader;
};

// What an object's tooltip is to the object: a ToolTip built for it, shown in its window.
class OwnedToolTip : public ToolTipWindow {
public:
    OwnedToolTip(GuiObject& owner, std::unique_ptr<ToolTipDocuments> documents,
                 std::unique_ptr<GuiObject> made)
        : owner_(owner),
          documents_(std::move(documents)),
          object_(std::move(made)),
          tip_(static_cast<ToolTip&>(*object_)) {}
    ~OwnedToolTip() override { NoteToolTipGone(this); }

    int Height() const override { return tip_.GetHeight(); }

    void ShowAt(int x, int y) override {
        // The tooltip's place is relative to the main window; a popup owner is itself
        // placed relative to it.
        auto* window = dynamic_cast<Window*>(owner_.RouteRoot());
        if (window && window->GetType() == Window::Popup) {
            x += window->GetX();
            y += window->GetY();
        }
        NoteToolTipShown(this);
        // Shown already, it only follows the pointer.
        if (!tip_.IsVisible())
            tip_.PopupAt(x, y);
        else if (tip_.GetX() != x || tip_.GetY() != y)
            tip_.Move(x, y);
        // The keyboard stays with the window the pointer is over.
        if (window && window->Host() && !window->Host()->Native().HasFocus())
            window->Host()->Native().Focus();
    }

    void Hide() override {
        NoteToolTipGone(this);
        if (tip_.IsVisible()) tip_.SetVisible(false);
    }

private:
    GuiObject& owner_;
    std::unique_ptr<ToolTipDocuments> documents_;
    std::unique_ptr<GuiObject> object_;
    ToolTip& tip_;
};

std::shared_ptr<ToolTipWindow> MakeToolTip(GuiObject& owner, const std::string& text) {
    auto documents = std::make_unique<ToolTipDocuments>();
    // The owner's document as context: the tooltip belongs to the owner's main window.
    TiXmlElement* root = documents->loader.GetRootElement(ToolTip::kDocument, owner.GetElement(),
                                                          false, &documents->root);
    if (!root) return nullptr;
    XMLLoadSave::WriteAttribute(text, root, "Text");
    try {
        std::unique_ptr<GuiObject> made =
            CreateNamedObject(root->ValueStr(), "ToolTip", nullptr, root);
        if (!dynamic_cast<ToolTip*>(made.get())) {
            if (made) Trace(std::string(ToolTip::kDocument) + " is not a Pym::ToolTip");
            return nullptr;
        }
        return std::make_shared<OwnedToolTip>(owner, std::move(documents), std::move(made));
    } catch (const XMLLoadSaveException&) {
        // Reported already; a broken tooltip document costs the tooltip, not the program.
        return nullptr;
    }
}

const bool registered = [] {
    RegisterType<ToolTip>("Pym::ToolTip", "$PYM/Objects/ToolTip/ToolTip.xml");
    InstallToolTipFactory();
    return true;
}();

}  // namespace

void InstallToolTipFactory() {
    SetToolTipFactory(&MakeToolTip);
}

ToolTip::ToolTip() {
    SetStayOpen(1);
}

void ToolTip::CreateFromXml(TiXmlElement* element) {
    PopupMenuWindow::CreateFromXml(element);
    ReadColours(element);
    text_ = GetXMLObject<GuiObject>("Text");
    if (!text_) return;
    ReadAttribute(xBorder_, element, "XBorderSize", true);
    ReadAttribute(yBorder_, element, "YBorderSize", true);
    std::string text;
    ReadAttribute(text, element, "Text", true);
    if (auto* textObject = dynamic_cast<Text*>(text_)) textObject->SetText(text);
    text_->OnLayoutReady();
    const int width = text_->GetWidth(), height = text_->GetHeight();
    Resize(width + xBorder_, height + yBorder_);
    AddChildAt(text_, GridVal(static_cast<float>(xBorder_ / 2), 0.0f),
               GridVal(static_cast<float>(yBorder_ / 2), 0.0f),
               GridVal(static_cast<float>(width), 0.0f), GridVal(static_cast<float>(height), 0.0f));
    ResetCachedRect();
    Relayout();
}

void ToolTip::ReadColours(const TiXmlElement* element) {
    ColourPtr colour;
    if (ReadAttribute(colour, element, "BackgroundColor")) background_ = *colour;
    if (ReadAttribute(colour, element, "BorderColor")) border_ = *colour;
}

bool ToolTip::DrawSelf(Gfx::DrawContext& context) {
    const float width = static_cast<float>(GetWidth()), height = static_cast<float>(GetHeight());
    if (width < 1 || height < 1) return true;
    // Whole pixels: the border one pixel wide all round, the fill inside it.
    context.FillRect({0, 0, width, height}, border_);
    if (width > 2 && height > 2) context.FillRect({1, 1, width - 2, height - 2}, background_);
    return true;
}

// A tooltip in the pointer's way, or clicked, goes.
void ToolTip::OnMouseMove(Signal::MouseMove& signal) {
    PopupMenuWindow::OnMouseMove(signal);
    if (IsVisible() && HitTestLocal(signal.x, signal.y)) OnHideRequest();
}

void ToolTip::OnLeftButtonDown(Signal::LeftButtonDown& signal) {
    PopupMenuWindow::OnLeftButtonDown(signal);
    OnHideRequest();
}

}  // namespace Pym
