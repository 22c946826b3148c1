#pragma once

#include "pym/gui/GridLayout.h"

namespace Pym {

// Stacks its children one after another at their own size, top to bottom ("PackingType"
// other than "Horizontal") or left to right. Each child becomes the next tab stop; stacked
// vertically, every child is as wide as the layout.
class PackedLayout : public GridLayout {
public:
    enum Expanding { ExpandHorizontal = 0, ExpandVertical = 1, ExpandBoth = 2, ExpandNone = 3 };

    void AddToLayout(GuiObject* child, TiXmlElement* element, AnimationPtr animation) override;

    bool PacksVertically() const { return packVertical_; }
    void SetPacking(bool vertical) { packVertical_ = vertical; }
    int GetExpanding() const { return expanding_; }
    void SetExpanding(Expanding expanding) { expanding_ = expanding; }
    int NextOffset() const { return nextOffset_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    bool packVertical_ = true;
    int expanding_ = ExpandNone;
    int nextOffset_ = 0;
    int nextColumn_ = 0;
    int nextRow_ = 0;
};

}  // namespace Pym
