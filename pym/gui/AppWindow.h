#pragma once

#include "pym/gui/Window.h"

namespace Pym {

// A window the user drags by its child named "Move" and resizes by its child named "Resize",
// optionally keeping its aspect and a minimum size relative to where the drag began. While one
// of its screens is shown, the screen's own "Move" and "Resize" objects are the handles.
class AppWindow : public Window {
public:
    AppWindow();

    void OnLeftButtonDown(Signal::LeftButtonDown& signal) override;
    void OnLeftButtonUp(Signal::LeftButtonUp& signal) override;
    void OnMouseMove(Signal::MouseMove& signal) override;
    void OnWindowSized(Signal::WindowSized& signal) override;

    // The handles of what is shown now: the window's own, or those of the current screen.
    GuiObject* MoveHandle() { return ShownHandle(moveHandle_, "Move"); }
    GuiObject* ResizeGrip() { return ShownHandle(resizeGrip_, "Resize"); }

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    void CreateFromXml(TiXmlElement* element) override;

private:
    bool Hits(GuiObject* handle, int x, int y) const { return handle && handle->HitTest(x, y); }
    GuiObject* ShownHandle(GuiObject* own, const std::string& name);

    GuiObject* resizeGrip_ = nullptr;
    GuiObject* moveHandle_ = nullptr;
    bool movePressed_ = false;
    bool resizePressed_ = false;
    bool preserveAspect_ = false;
    int pressX_ = 0, pressY_ = 0;
    float resizeMinFactor_ = 0.0f;
    int minWidth_ = 0, minHeight_ = 0;
    float aspect_ = 0.0f;
};

}  // namespace Pym
