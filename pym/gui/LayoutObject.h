#pragma once

#include <memory>

#include <tinyxml.h>

#include "pym/core/Animation.h"
#include "pym/core/GridVal.h"
#include "pym/core/XMLLoadSave.h"

namespace Pym {

class GuiObject;

// What a grid layout keeps per child: where it goes, as four lengths relative to the
// container, and the animation it appears with.
class LayoutObject : public XMLLoadSave {
public:
    LayoutObject(GuiObject* child, TiXmlElement* element, GridVal x, GridVal y, GridVal width,
                 GridVal height, AnimationPtr animation = nullptr)
        : element(element),
          child(child),
          xPos(x),
          yPos(y),
          width(width),
          height(height),
          animation(std::move(animation)) {}

    // From the element's "XPos", "YPos", "Width" and "Height", all required: a missing one is
    // reported and throws XMLLoadSaveException.
    static std::shared_ptr<LayoutObject> FromXml(GuiObject* child, TiXmlElement* element,
                                                 AnimationPtr animation);

    TiXmlElement* element;
    GuiObject* child;
    GridVal xPos, yPos, width, height;
    AnimationPtr animation;
};

}  // namespace Pym
