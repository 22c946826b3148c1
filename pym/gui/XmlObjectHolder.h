#pragma once

#include <string>

#include <tinyxml.h>

#include "pym/core/Animation.h"

namespace Pym {

class GuiObject;

// The part of a container that acts on its element's "CreateObject" and "Object" children:
// it creates the named child objects (or reuses ones found by name) and hands them to the
// container's layout, which supplies the placement operations.
class XmlObjectHolder {
public:
    virtual ~XmlObjectHolder() = default;

    // The GUI object this holder is part of.
    virtual GuiObject* HolderObject() = 0;
    // Creates (or reuses) the objects of the element's "CreateObject" children; false when
    // any of them could not be created.
    virtual bool CreateChildObjects(TiXmlElement* element);
    // Declares the screens of the element's "CreateScreen" children on the holder's screen
    // manager (false when there is none); a declaration without its names is reported and
    // throws.
    virtual bool CreateScreens(TiXmlElement* element);
    // The definition inside the "Object" child with that name, or null.
    virtual TiXmlElement* FindObjectTemplate(const std::string& name);

    // Placement, supplied by the layout.
    virtual void AddToLayout(GuiObject* child, TiXmlElement* element, AnimationPtr animation) = 0;
    virtual void PlaceFixed(GuiObject* child, const TiXmlElement* element) = 0;
    virtual void PlaceExisting(GuiObject* child, const TiXmlElement* element) = 0;
    virtual void OnChildAddedToLayout(GuiObject* /*child*/) {}

    // Keyframes from an "Animation" element's "Element" children.
    static AnimationPtr CreateAnimation(TiXmlElement* animation);
    static Keyframe CreateAnimationElement(const TiXmlElement* element);

private:
    void AddExisting(GuiObject* child, TiXmlElement* create, bool addToLayout);
    void AddCreated(GuiObject* child, TiXmlElement* create, bool addToLayout);
};

}  // namespace Pym
