#pragma once

#include "pym/gui/FlowLayout.h"

namespace Pym {

// The flow whose fixed children stay where they were put (at their size value along the axis)
// and whose expandable children fill the gaps between them, in child order. It holds any
// number of children.
class PaddedFlowLayout : public FlowLayout {
protected:
    void Arrange() override;
    bool ArrangesUnchangedRect() const override { return true; }
    bool IsTwoPart() const override { return false; }
    void OnSizedChildAdded(GuiObject* child, int size) override;
};

}  // namespace Pym
