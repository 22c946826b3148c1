#pragma once

#include "pym/gui/GuiObject.h"
#include "pym/gui/XmlObjectHolder.h"

namespace Pym {

// A GUI object that takes children described in XML: its element's "CreateObject" children
// are created after its own attributes are read, and placed by the layout's operations.
class LayoutBase : public GuiObject, public XmlObjectHolder {
public:
    using GuiObject::GuiObject;

    GuiObject* HolderObject() override { return this; }

    virtual void ResetCachedRect() = 0;

protected:
    void CreateFromXml(TiXmlElement* element) override {
        CreateChildObjects(element);
        CreateScreens(element);
    }
};

}  // namespace Pym
