#pragma once

#include "pym/gui/Window.h"

namespace Pym {

// A window the user drags by its child named "Move" and resizes by its child named "Resize",
// optionally keeping its aspect and a minimum size relative to where the drag began.
class AppWindow : public Window {
public:
    AppWindow();

    void OnLeftButtonDown(Signal::LeftButtonDown& signal) override;
    void OnLeftButtonUp(Signal::LeftButtonUp& signal) override;
    void OnMouseMove(Signal::MouseMove& signal) override;
    void OnWindowSized(Signal::WindowSized& signal) override;

    GuiObject* MoveHandle() const { return moveHandle_; }
    GuiObject* ResizeGrip() const { return resizeGrip_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    void CreateFromXml(TiXmlElement* element) override;

private:
    bool Hits(GuiObject* handle, int x, int y) const { return handle && handle->HitTest(x, y); }

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
