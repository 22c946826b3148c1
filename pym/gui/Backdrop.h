#pragma once

#include <memory>
#include <vector>

#include "pym/gfx/DrawContext.h"
#include "pym/gfx/Image.h"

namespace Pym {

class GuiObject;

// A copy of what the window shows under an object (the screen's pictures behind a display),
// taken as the whole tree paints it. While it holds, a repaint of the object alone paints the
// copy and the object instead of everything beneath. It holds while the object was reached by
// the last paint of the whole tree at the same place on the window, fully copied, at full
// alpha, and nothing but the object's own children was drawn over it. Everything here runs on
// the user-interface thread.
class Backdrop {
public:
    explicit Backdrop(GuiObject& owner);
    ~Backdrop();
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    GuiObject& Owner() const { return owner_; }
    // The owner asked to be repainted; cleared by the next paint of its window.
    void Ask() { asked_ = true; }
    bool Asked() const { return asked_; }
    static const std::vector<Backdrop*>& All();
    static void PaintDone();

    // While one lives, the whole tree is painted and the backdrops are taken.
    class TreePaint {
    public:
        TreePaint();
        ~TreePaint();
        TreePaint(const TreePaint&) = delete;
        TreePaint& operator=(const TreePaint&) = delete;
    };
    static bool InTreePaint();

    // The tree's paint reached the owner, whose `rect` is in the context's user space: takes
    // the copy where the clip lets it (`shows`: anywhere at all).
    void Reached(Gfx::DrawContext& context, const Gfx::Rect& rect, bool shows);
    // The owner and its children are drawn: what is drawn from now on lies over them.
    void Drawn();
    // An object of `rect` (user space) is being drawn in the tree's paint.
    static void Drawing(const Gfx::DrawContext& context, const Gfx::Rect& rect);

    // Whether the owner can be repainted alone over the copy, at `area` on the window.
    bool Holds(const Gfx::Rect& area) const;
    const Gfx::Rect& Area() const { return area_; }
    // Puts the copy back at its place where the clip lets it, replacing what is there (the
    // context in window coordinates); false where the context cannot.
    bool Paint(Gfx::DrawContext& context) const;

private:
    GuiObject& owner_;
    std::shared_ptr<Gfx::Image> image_;
    Gfx::Rect area_;
    unsigned paint_ = 0;  // the tree's paint that last reached the owner
    bool whole_ = false, fullAlpha_ = false, covered_ = false, asked_ = false;
};

}  // namespace Pym
