#pragma once

#include <exception>
#include <map>

#include "pym/gui/GuiObject.h"

namespace Pym {

// A layout that splits its area between a fixed child, which keeps its own extent along the
// axis, and an expandable one, which takes the rest. The flow (recording the children's size
// values, the checks, relaying out only when the rectangle changed, relaying out before the
// first paint) lives here; where the children go is the arrangement of each concrete layout.
class FlowLayout : public GuiObject {
public:
    static constexpr int kExpandable = -1;

    struct TooManyElementsException : std::exception {
        const char* what() const noexcept override {
            return "Attempting to add too many objects to layout !!";
        }
    };
    struct NoFixedElementException : std::exception {
        const char* what() const noexcept override {
            return "This layout requires at least one fixed element !!";
        }
    };
    struct NoExpandableElementException : std::exception {
        const char* what() const noexcept override {
            return "This layout requires at least one expandable element !!";
        }
    };

    explicit FlowLayout(int notSelectable = 1, int sizeLocked = 0)
        : GuiObject(notSelectable, sizeLocked) {}

    void AddFlowChild(GuiObject* child) { AddFlowChildSized(child, 1); }
    // `size` kExpandable makes the child expandable; anything else fixed.
    virtual void AddFlowChildSized(GuiObject* child, int size);

    bool IsHorizontal() const { return horizontal_ != 0; }
    void SetHorizontal(bool horizontal) {
        horizontal_ = horizontal ? 1 : 0;
        ForgetRect();
    }
    // Children added without a size value count as fixed.
    bool IsExpandable(const GuiObject* child) const;

    void Relayout() override;
    void RemoveAllChildren() override;
    bool RemoveChild(GuiObject* child, bool relayout) override;
    bool DrawSelf(Gfx::DrawContext& context) override;

protected:
    // Where the children go; called only for an area of at least one pixel.
    virtual void Arrange() = 0;
    // Whether a relayout with the rectangle unchanged arranges again.
    virtual bool ArrangesUnchangedRect() const { return false; }
    // Whether the layout holds one fixed and one expandable child at most.
    virtual bool IsTwoPart() const { return true; }
    virtual void OnSizedChildAdded(GuiObject* /*child*/, int /*size*/) {}
    void RecordSize(GuiObject* child, int size) { sizes_[child] = size; }
    void ForgetRect() { lastRect_ = {-1, -1, -1, -1}; }
    // The extent of a child along the axis, and its position on it.
    int Extent(const GuiObject& object) const {
        return IsHorizontal() ? object.GetWidth() : object.GetHeight();
    }
    int Position(const GuiObject& object) const {
        return IsHorizontal() ? object.GetX() : object.GetY();
    }

private:
    void CheckTwoPart() const;

    int horizontal_ = 0;
    std::map<const GuiObject*, int> sizes_;
    Rect lastRect_{-1, -1, -1, -1};
    bool layoutPending_ = false;
};

}  // namespace Pym
