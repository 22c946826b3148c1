#pragma once

#include "pym/gui/ButtonPictures.h"
#include "pym/gui/GuiObject.h"

namespace Pym {

// A button that stays down or up: each click (or SlotToggle) flips it and shows its "Down"
// or "Up" picture. Slots connected to its Activate run after the flip and see the new state.
class ToggleButton : public GuiObject {
public:
    ToggleButton();

    // Redraws too: a skin may flip the button from elsewhere, and it must show at once.
    void SlotToggle(Signal::Base&) {
        Toggle();
        Redraw();
    }
    void Toggle();
    bool IsDown() const { return down_; }
    bool WasDown() const { return previous_; }
    void SetDown(bool down);

    bool Resize(int width, int height) override;

    bool IsLoaded() const { return loaded_; }
    GuiObject* UpPicture() const { return upPicture_; }
    GuiObject* DownPicture() const { return downPicture_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    void ApplyState();

    bool down_ = false;
    bool previous_ = false;
    ButtonPictures pictures_;
    GuiObject* upPicture_ = nullptr;
    GuiObject* downPicture_ = nullptr;
    bool loaded_ = false;
};

}  // namespace Pym
