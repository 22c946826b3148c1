#include "pym/gui/LayoutObject.h"

namespace Pym {

std::shared_ptr<LayoutObject> LayoutObject::FromXml(GuiObject* child, TiXmlElement* element,
                                                    AnimationPtr animation) {
    std::string x, y, width, height;
    ReadAttribute(x, element, "XPos", true);
    ReadAttribute(y, element, "YPos", true);
    ReadAttribute(width, element, "Width", true);
    ReadAttribute(height, element, "Height", true);
    return std::make_shared<LayoutObject>(child, element, GridVal(x), GridVal(y), GridVal(width),
                                          GridVal(height), std::move(animation));
}

}  // namespace Pym
