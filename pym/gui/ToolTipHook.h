#pragma once

#include <functional>
#include <memory>
#include <string>

namespace Pym {

class GuiObject;

// A tooltip window as GuiObject uses it. The menus layer makes the real one.
class ToolTipWindow {
public:
    virtual ~ToolTipWindow() = default;
    virtual int Height() const = 0;
    // Shows the tooltip at a point of its owner's window and gives the keyboard focus back
    // to that window.
    virtual void ShowAt(int x, int y) = 0;
    virtual void Hide() = 0;
};

// Makes the tooltip window of an object, with its text; null when none can be made.
using ToolTipFactory =
    std::function<std::shared_ptr<ToolTipWindow>(GuiObject& owner, const std::string& text)>;

// Until a factory is installed, objects show no tooltips.
void SetToolTipFactory(ToolTipFactory factory);
const ToolTipFactory& GetToolTipFactory();

// One tooltip is on the screen at a time. A hover reaches only the objects under the
// pointer, so the one whose tooltip shows never hears that the pointer left it: the host
// hides the shown tooltip when a hover finds no object to claim it, or on a press.
void NoteToolTipShown(ToolTipWindow* tip);  // hides the one shown before
void NoteToolTipGone(ToolTipWindow* tip);
void HideShownToolTip();

}  // namespace Pym
