#include "pym/gui/GridLayout.h"

#include "pym/gui/GridPlacement.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<GridLayout>("Pym::GridLayout", "$PYM/Objects/GridLayout/GridLayout.xml");
const bool registeredRestart =
    RegisterSlot("Pym::GridLayout::SlotRestartAnimation", &GridLayout::SlotRestartAnimation);

}  // namespace

void GridLayout::AddToLayout(GuiObject* child, TiXmlElement* element, AnimationPtr animation) {
    AddLayoutObject(child, LayoutObject::FromXml(child, element, std::move(animation)));
}

void GridLayout::PlaceFixed(GuiObject* child, const TiXmlElement* element) {
    int x = 0, y = 0, width = 0, height = 0;
    const bool all = ReadAttribute(x, element, "XPos") && ReadAttribute(y, element, "YPos") &&
                     ReadAttribute(width, element, "Width") &&
                     ReadAttribute(height, element, "Height");
    if (!all) return;
    child->Move(x, y);
    child->Resize(width, height);
}

void GridLayout::PlaceExisting(GuiObject* child, const TiXmlElement* element) {
    std::string x, y, width, height;
    const bool all = ReadAttribute(x, element, "XPos") && ReadAttribute(y, element, "YPos") &&
                     ReadAttribute(width, element, "Width") &&
                     ReadAttribute(height, element, "Height");
    if (!all) return;
    // Kept in the layout, so later relayouts place it too.
    if (!layout_.count(child))
        layout_[child] = std::make_shared<LayoutObject>(child, const_cast<TiXmlElement*>(element),
                                                        GridVal(), GridVal(), GridVal(), GridVal());
    PlaceChild(child, GridVal(x), GridVal(y), GridVal(width), GridVal(height));
}

void GridLayout::PlaceChild(GuiObject* child, const GridVal& x, const GridVal& y,
                            const GridVal& width, const GridVal& height) {
    using namespace GridPlacement;
    const int w = GetWidth(), h = GetHeight();
    child->Move(Nearest(Resolve(x, w)), Nearest(Resolve(y, h)));
    child->Resize(Nearest(Resolve(width, w)), Nearest(Resolve(height, h)));
    child->Relayout();
    if (auto entry = layout_.find(child); entry != layout_.end()) {
        LayoutObject& stored = *entry->second;
        stored.xPos = x;
        stored.yPos = y;
        stored.width = width;
        stored.height = height;
    }
}

void GridLayout::PlaceChildTruncated(GuiObject* child, const GridVal& x, const GridVal& y,
                                     const GridVal& width, const GridVal& height) {
    using namespace GridPlacement;
    const int w = GetWidth(), h = GetHeight();
    child->Move(Truncated(x, w), Truncated(y, h));
    child->Resize(Truncated(width, w), Truncated(height, h));
    child->Relayout();
}

void GridLayout::AddChildAt(GuiObject* child, const GridVal& x, const GridVal& y,
                            const GridVal& width, const GridVal& height, TiXmlElement* element,
                            AnimationPtr animation) {
    AddLayoutObject(child, std::make_shared<LayoutObject>(child, element, x, y, width, height,
                                                          std::move(animation)));
}

void GridLayout::AddChildAtFractions(GuiObject* child, float x, float y, float width, float height,
                                     TiXmlElement* element, AnimationPtr animation) {
    AddChildAt(child, GridVal(0.0f, x), GridVal(0.0f, y), GridVal(0.0f, width),
               GridVal(0.0f, height), element, std::move(animation));
}

void GridLayout::RestartAnimation(GuiObject* child, const std::string& name) {
    auto entry = layout_.find(child);
    if (entry == layout_.end() || !GetElement()) return;
    for (TiXmlElement* object = GetElement()->FirstChildElement("Object"); object;
         object = object->NextSiblingElement("Object")) {
        if (!MatchesName(object, name)) continue;
        auto replaced = std::make_shared<LayoutObject>(*entry->second);
        replaced->animation = CreateAnimation(object->FirstChildElement("Animation"));
        AddLayoutObject(child, replaced);
        return;
    }
}

void GridLayout::AddLayoutObject(GuiObject* child, std::shared_ptr<LayoutObject> layoutObject) {
    const LayoutObject& placed = *layoutObject;
    layout_[child] = layoutObject;
    PlaceChild(child, placed.xPos, placed.yPos, placed.width, placed.height);
    AddChild(child, false);
}

void GridLayout::SlotRestartAnimation(Signal::ScreenActivation&) {
    RestartLayoutAnimation();
}

void GridLayout::Relayout() {
    const Rect rect = GetRect();
    if (rect == cachedRect_) return;
    cachedRect_ = rect;
    if (rect.width < 1 && rect.height < 1) return;
    for (const auto& [child, entry] : layout_)
        PlaceChild(child, entry->xPos, entry->yPos, entry->width, entry->height);
}

void GridLayout::OnTimer(Signal::Timer& signal) {
    LayoutBase::OnTimer(signal);
    if (animation_.IsAnimating()) animation_.Step(*this);
}

bool GridLayout::NeedsTicks() const {
    return LayoutBase::NeedsTicks() || animation_.IsAnimating();
}

void GridLayout::ForgetChild(GuiObject* child) {
    LayoutBase::ForgetChild(child);
    layout_.erase(child);
}

}  // namespace Pym
