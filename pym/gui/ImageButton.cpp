#include "pym/gui/ImageButton.h"

#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<ImageButton>("Pym::ImageButton", "$PYM/Objects/ImageButton/ImageButton.xml");

}  // namespace

bool ImageButton::LoadFromXml(TiXmlElement* element) {
    if (!GridLayout::LoadFromXml(element)) return false;
    SetNotSelectable(0);
    if (loaded_) return true;
    GuiObject* selected = pictures_.Build(*this, element, "Selected");
    GuiObject* unselected = pictures_.Build(*this, element, "UnSelected");
    GuiObject* mouseOver = pictures_.Build(*this, element, "MouseOver");
    if (!selected || !unselected || !mouseOver) {
        Trace("Pym::ImageButton - " + GetName() + " needs Selected, UnSelected and MouseOver");
        return false;
    }
    selectedPicture_ = selected;
    unselectedPicture_ = unselected;
    mouseOverPicture_ = mouseOver;
    for (GuiObject* picture : {selected, unselected, mouseOver})
        AddChildAtFractions(picture, 0, 0, 1.0f, 1.0f);
    loaded_ = true;
    return true;
}

GuiObject* ImageButton::PictureForState() const {
    if (IsMouseOver()) return selectedPicture_;
    if (IsSelected()) return mouseOverPicture_;
    return unselectedPicture_;
}

bool ImageButton::DrawSelf(Gfx::DrawContext&) {
    // The chosen picture is one of the children, drawn right after this.
    if (loaded_) pictures_.ShowOnly(PictureForState());
    return true;
}

bool ImageButton::HitTestLocal(int x, int y) const {
    if (!GridLayout::HitTestLocal(x, y)) return false;
    for (const GuiObject* picture : {unselectedPicture_, mouseOverPicture_, selectedPicture_})
        if (picture && picture->IsVisible())
            return picture->HitTestLocal(x - picture->GetX(), y - picture->GetY());
    return true;
}

}  // namespace Pym
