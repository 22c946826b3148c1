#pragma once

#include "pym/gui/ButtonPictures.h"
#include "pym/gui/GridLayout.h"

namespace Pym {

// A button of three pictures, each filling it: "UnSelected" normally, "Selected" while the
// pointer is over it, "MouseOver" while it is selected (the names are the skins'). Only the
// visible parts of the shown picture belong to the button.
class ImageButton : public GridLayout {
public:
    ImageButton() = default;

    bool DrawSelf(Gfx::DrawContext& context) override;
    bool HitTestLocal(int x, int y) const override;

    bool IsLoaded() const { return loaded_; }
    GuiObject* SelectedPicture() const { return selectedPicture_; }
    GuiObject* UnselectedPicture() const { return unselectedPicture_; }
    GuiObject* MouseOverPicture() const { return mouseOverPicture_; }
    // The picture the state calls for now.
    GuiObject* PictureForState() const;

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    ButtonPictures pictures_;
    GuiObject* selectedPicture_ = nullptr;
    GuiObject* unselectedPicture_ = nullptr;
    GuiObject* mouseOverPicture_ = nullptr;
    bool loaded_ = false;
};

}  // namespace Pym
