#pragma once

#include <vector>

#include "pym/gui/GuiObject.h"

namespace Pym {

// A viewport: shows one content object shifted by a scroll offset and cut to the viewport's
// rectangle. Signals reach the content in the content's own coordinates, so what is scrolled
// out of view cannot be hit through the viewport.
class ClippedWindow : public GuiObject {
public:
    ClippedWindow() : GuiObject(/*notSelectable=*/1, /*sizeLocked=*/0) {}

    // The object shown; not owned. Null shows nothing.
    virtual void SetContent(GuiObject* content);
    GuiObject* GetContent() const { return content_; }
    // Sizes the viewport and scrolls the content to (x, y).
    virtual void SetScroll(int x, int y, int width, int height);
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    // While set, the content always has the viewport's size.
    void SetResizeContent(bool resize) { resizeContent_ = resize ? 1 : 0; }

    bool Resize(int width, int height) override;
    // Absolute positions of what is inside are shifted by the scroll offset; the viewport's
    // own position is not.
    void AddAbsoluteX(int& value) const override;
    void AddAbsoluteY(int& value) const override;
    int GetAbsoluteX() const override;
    int GetAbsoluteY() const override;
    void Draw(Gfx::DrawContext& context) override;
    bool DrawSelf(Gfx::DrawContext&) override { return true; }

    // The content is reached by the viewport itself, not by the route: see HandleSignal.
    bool WantsSignalForChildren(const Signal::Base& signal) override;
    bool WantsSignal(const Signal::Base& signal) override;
    void HandleSignal(Signal::Base& signal) override;

protected:
    void ForgetChild(GuiObject* child) override;

private:
    bool ContentWants(const Signal::Base& signal) const;
    bool HitsViewport(const Signal::Base& signal) const;
    // Routes the signal through the content's subtree with its point in content coordinates.
    void DeliverToContent(Signal::Base& signal);

    GuiObject* content_ = nullptr;
    int scrollX_ = 0, scrollY_ = 0;
    int resizeContent_ = 0;
    // Signals routed with recursion whose content delivery is still due.
    std::vector<const Signal::Base*> dueForContent_;
};

}  // namespace Pym
