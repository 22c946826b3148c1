#pragma once

#include "pym/gui/GridLayout.h"

namespace Pym {

// A screen of a window: a grid layout that fills the screen manager's area, follows the
// window's size, and on being shown restarts its animations and focuses its first child
// that takes the focus.
class Screen : public GridLayout {
public:
    Screen();

    void SlotScreenBack(Signal::Base&);
    void SlotResetBackStack(Signal::Base&);

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    void OnSized(Signal::WindowSized& signal);
    void OnActivation(Signal::ScreenActivation& signal);
    GuiObject* FirstFocusable() const;
};

}  // namespace Pym
