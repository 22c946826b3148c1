// GuiObject's reactions to the user: selection, keyboard navigation over tab stops, clicks,
// hover, focus and tooltips.
#include <algorithm>
#include <climits>

#include "pym/gui/GuiObject.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/ToolTipHook.h"

namespace Pym {

// --- selection ----------------------------------------------------------------------------

void GuiObject::OnSelectRequest(Signal::SelectObject& signal, bool select) {
    const bool was = selected_;
    SetSelected(select);
    if (!was && selected_) signal.selected.insert(this);
}

void GuiObject::SetSelected(bool select) {
    if (!select) {
        Deselect();
        return;
    }
    if (selected_ || !visible_ || notSelectable_) return;
    selected_ = true;
    Signal::ObjectSelected selectedSignal;
    SendSignalToSelf(selectedSignal);
}

void GuiObject::Select() {
    const int x = GetAbsoluteX(), y = GetAbsoluteY();
    Signal::SelectObject selectPass(x, y, this);
    selectPass.selectPass = 1;
    SendSignal(this, selectPass);
    Signal::SelectObject deselectPass(x, y, this);
    deselectPass.selectPass = 0;
    SendSignal(this, deselectPass);
}

bool GuiObject::Deselect() {
    if (!selected_) return false;
    selected_ = false;
    Signal::ObjectDeselected deselected;
    SendSignalToSelf(deselected);
    return true;
}

void GuiObject::ClearSelectionRecursive() {
    selected_ = false;
    for (GuiObject* child : children_) child->ClearSelectionRecursive();
}

bool GuiObject::HasSelectedDescendant() const {
    return std::any_of(children_.begin(), children_.end(), [](const GuiObject* child) {
        return child->IsSelected() || child->HasSelectedDescendant();
    });
}

void GuiObject::OnSelectObject(Signal::SelectObject& signal) {
    const bool hit = HitTestLocal(signal.x, signal.y);
    if (signal.selectPass) {
        if (visible_ && hit && !selected_ && !notSelectable_) {
            OnSelectRequest(signal, true);
            Redraw();
        }
    } else if (selected_ && signal.sender != this && visible_ && !hit) {
        Deselect();
        Redraw();
    }
}

// --- navigation ---------------------------------------------------------------------------

namespace {

void NeighbourCell(int direction, int& column, int& row) {
    switch (direction) {
        case 0:
            column = std::max(0, column - 1);
            break;
        case 1:
            ++column;
            break;
        case 2:
            row = std::max(0, row - 1);
            break;
        case 3:
            ++row;
            break;
        default:
            break;
    }
}

}  // namespace

const TabStop* GuiObject::FindTabStop(int column, int row, const GuiObject* current) const {
    for (const TabStop& stop : tabStops_)
        if (stop.column == column && stop.row == row && stop.child->IsVisible()) return &stop;
    int minColumn = INT_MAX, maxColumn = INT_MIN, minRow = INT_MAX, maxRow = INT_MIN;
    for (const TabStop& stop : tabStops_) {
        minColumn = std::min(minColumn, stop.column);
        maxColumn = std::max(maxColumn, stop.column);
        minRow = std::min(minRow, stop.row);
        maxRow = std::max(maxRow, stop.row);
    }
    if (column < minColumn || column > maxColumn || row < minRow || row > maxRow) return nullptr;
    // No stop at the cell itself: the nearest thing in its column or row. Hidden stops and
    // the current one are never targets, whichever line matched.
    for (const TabStop& stop : tabStops_) {
        if (stop.child == current || !stop.child->IsVisible()) continue;
        if (stop.column == column || stop.row == row) return &stop;
    }
    return nullptr;
}

bool GuiObject::NavigateFrom(const TabStop& stop, int direction) {
    int column = stop.column, row = stop.row;
    NeighbourCell(direction, column, row);
    const TabStop* target = FindTabStop(column, row, stop.child);
    if (!target) return false;
    target->child->SelectByNavigation();
    return true;
}

void GuiObject::OnSelectNextObject(Signal::SelectNextObject& signal) {
    if (signal.handled || tabStops_.empty()) return;
    const int direction = signal.direction;
    if (HasSelectedDescendant()) {
        auto current = std::find_if(tabStops_.begin(), tabStops_.end(), [](const TabStop& s) {
            return s.child->IsSelected() || s.child->HasSelectedDescendant();
        });
        if (current != tabStops_.end() && current->child->AcceptsNavigation(direction)) {
            const TabStop from = *current;  // selecting may change the list
            signal.handled = NavigateFrom(from, direction);
        }
    } else {
        for (std::size_t i = 0; i < tabStops_.size(); ++i) {
            const TabStop from = tabStops_[i];
            if (!from.child->AcceptsNavigation(direction)) continue;
            int column = from.column, row = from.row;
            NeighbourCell(direction, column, row);
            if (FindTabStop(column, row, from.child)) {
                signal.handled = NavigateFrom(from, direction);
                break;
            }
        }
    }
    Redraw();
}

// --- pointer and focus --------------------------------------------------------------------

void GuiObject::OnLeftButtonUp(Signal::LeftButtonUp& signal) {
    const bool click =
        visible_ && (mouseOver_ || !ClickNeedsHover()) && HitTestLocal(signal.x, signal.y);
    mouseOver_ = false;
    if (click) {
        Signal::Activate activate;
        SendSignalToSelf(activate);
        // Raised with the point in host-window coordinates; delivery makes it local again.
        Signal::MouseClick mouseClick(signal.x - signal.offsetX, signal.y - signal.offsetY);
        SendSignalToSelf(mouseClick);
    }
    Redraw();
}

void GuiObject::OnMouseMove(Signal::MouseMove& signal) {
    mouseX_ = signal.x;
    mouseY_ = signal.y;
    const bool over = visible_ && HitTestLocal(signal.x, signal.y);
    // Only a change of hover changes the look; repainting on every move would repaint the
    // whole window, whose root hears every move.
    if (over == mouseOver_) return;
    mouseOver_ = over;
    Redraw();
}

void GuiObject::OnWindowActivated(Signal::WindowActivated& signal) {
    active_ = signal.activated != 0;
    if (active_) {
        mouseOver_ = false;
        return;
    }
    if (!keepSelection_) selected_ = false;
    if (ScreenManager* manager = FindScreenManager()) manager->ClearPointerRecords();
}

void GuiObject::OnToolTipHover(Signal::ShowToolTip& signal) {
    if (signal.claimedBy || !IsVisibleRecursive()) return;
    if (ShowToolTip(visible_ && HitTestLocal(signal.x, signal.y), signal.x, signal.y))
        signal.claimedBy = this;
}

// The tooltip goes above the object, at the pointer's x, both in the window's coordinates:
// the hover point arrives in the object's own, and its y counts from its parent.
bool GuiObject::ShowToolTip(bool show, int x, int /*y*/) {
    if (!show) {
        if (toolTipObject_) toolTipObject_->Hide();
        return false;
    }
    if (!active_ || toolTipText_.empty()) return false;
    if (!toolTipObject_) {
        const ToolTipFactory& factory = GetToolTipFactory();
        if (factory) toolTipObject_ = factory(*this, toolTipText_);
        if (!toolTipObject_) return false;
    }
    const int top = GetAbsoluteY() - toolTipObject_->Height() - 2;
    toolTipObject_->ShowAt(GetAbsoluteX() + x, top);
    return true;
}

}  // namespace Pym
