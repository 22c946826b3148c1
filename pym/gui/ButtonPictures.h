#pragma once

#include <string>
#include <vector>

#include <tinyxml.h>

#include "pym/gui/GuiObject.h"

namespace Pym {

// The pictures a button switches between: each built by the factory from the definition
// inside one of the button's child elements ("Selected", "Up", ...), owned by the button,
// and shown one at a time.
class ButtonPictures {
public:
    // Builds the picture described inside the button's child element `tag`, named after the
    // tag; null when the child is missing or its definition cannot be built.
    GuiObject* Build(GuiObject& button, TiXmlElement* element, const std::string& tag);

    // Shows `shown` and hides every other picture; only changes are announced.
    void ShowOnly(const GuiObject* shown) const;
    // The picture now showing, or null.
    GuiObject* Shown() const;
    const std::vector<GuiObject*>& All() const { return pictures_; }

private:
    std::vector<GuiObject*> pictures_;
};

}  // namespace Pym
