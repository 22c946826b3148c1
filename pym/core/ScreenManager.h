#pragma once

#include <stdexcept>
#include <string>

#include "pym/core/XMLLoadSave.h"

namespace Pym {

// Thrown by lookups of an object's screen manager when its window has none yet.
class ScreenManagerNotReady : public std::runtime_error {
public:
    ScreenManagerNotReady() : std::runtime_error("ScreenManagerNotReady") {}
};

// The operations of a window's screen manager that objects of its tree call. The window
// layer supplies the manager; tests supply doubles.
class ScreenManager : public XMLLoadSave {
public:
    ~ScreenManager() override = default;

    // Adds a rectangle in host-window coordinates to the region to repaint.
    virtual void Invalidate(int x, int y, int width, int height) = 0;
    // Shows the named screen; the empty name shows the window's content.
    virtual void ActivateScreen(const std::string& name, bool addToBackStack) = 0;
    // Forgets which object the pointer hovers over or pressed (the window lost the focus).
    virtual void ClearPointerRecords() = 0;
};

}  // namespace Pym
