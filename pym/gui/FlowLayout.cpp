#include "pym/gui/FlowLayout.h"

namespace Pym {

void FlowLayout::AddFlowChildSized(GuiObject* child, int size) {
    if (!child) return;
    RecordSize(child, size);
    ForgetRect();
    layoutPending_ = true;
    OnSizedChildAdded(child, size);
    AddChild(child, false);
}

bool FlowLayout::IsExpandable(const GuiObject* child) const {
    auto found = sizes_.find(child);
    return found != sizes_.end() && found->second == kExpandable;
}

void FlowLayout::CheckTwoPart() const {
    const auto& children = Children();
    if (children.size() > 2) throw TooManyElementsException();
    if (children.size() < 2) return;
    const bool first = IsExpandable(children[0]), second = IsExpandable(children[1]);
    if (first && second) throw NoFixedElementException();
    if (!first && !second) throw NoExpandableElementException();
}

void FlowLayout::Relayout() {
    layoutPending_ = false;
    if (IsTwoPart()) CheckTwoPart();
    const Rect rect = GetRect();
    if (rect == lastRect_ && !ArrangesUnchangedRect()) return;
    lastRect_ = rect;
    if (rect.width < 1 && rect.height < 1) return;
    Arrange();
}

void FlowLayout::RemoveAllChildren() {
    GuiObject::RemoveAllChildren();
    sizes_.clear();
    ForgetRect();
}

bool FlowLayout::RemoveChild(GuiObject* child, bool relayout) {
    sizes_.erase(child);
    ForgetRect();
    return GuiObject::RemoveChild(child, relayout);
}

bool FlowLayout::DrawSelf(Gfx::DrawContext& context) {
    if (layoutPending_) {
        // A layout that cannot be arranged is the skin's fault, reported when it was loaded;
        // painting goes on without it rather than ending the program.
        try {
            Relayout();
        } catch (const std::exception& error) {
            Trace(std::string("Pym::FlowLayout - ") + error.what());
        }
    }
    return GuiObject::DrawSelf(context);
}

}  // namespace Pym
