#include "pym/gui/PackedLayout.h"

#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<PackedLayout>("Pym::PackedLayout", "$PYM/Objects/PackedLayout/PackedLayout.xml");

GridVal Pixels(int value) {
    return GridVal(static_cast<float>(value), 0.0f);
}

}  // namespace

bool PackedLayout::LoadFromXml(TiXmlElement* element) {
    if (!GridLayout::LoadFromXml(element)) return false;
    std::string packing, expanding;
    ReadAttribute(packing, element, "PackingType", true);
    packVertical_ = packing != "Horizontal";
    ReadAttribute(expanding, element, "ExpandingType");
    if (expanding == "Horizontal")
        expanding_ = ExpandHorizontal;
    else if (expanding == "Vertical")
        expanding_ = ExpandVertical;
    else if (expanding == "Both")
        expanding_ = ExpandBoth;
    else
        expanding_ = ExpandNone;
    return true;
}

void PackedLayout::AddToLayout(GuiObject* child, TiXmlElement* element, AnimationPtr animation) {
    child->OnLayoutReady();  // a text measures itself first
    const int width = child->GetWidth(), height = child->GetHeight();
    const int x = packVertical_ ? 0 : nextOffset_;
    const int y = packVertical_ ? nextOffset_ : 0;
    nextOffset_ += packVertical_ ? height : width;
    AddLayoutObject(
        child, std::make_shared<LayoutObject>(child, element, Pixels(x), Pixels(y), Pixels(width),
                                              Pixels(height), std::move(animation)));
    AddTabStop(child, nextColumn_, nextRow_);
    if (expanding_ == ExpandBoth) Resize(GetMaxChildWidth(), GetMaxChildHeight());
    if (!packVertical_) {
        ++nextColumn_;
        return;
    }
    // As wide as the layout, now and after the layout is placed or resized.
    for (const auto& [placed, entry] : GetLayoutMap())
        PlaceChild(placed, entry->xPos, entry->yPos, GridVal(0.0f, 1.0f), entry->height);
    ++nextRow_;
}

}  // namespace Pym
