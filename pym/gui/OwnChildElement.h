#pragma once

#include <string>

#include <tinyxml.h>

#include "pym/core/XMLLoadSave.h"

namespace Pym {

// The last child element with the tag, resolved; null when there is none. A BaseXML template's
// children come before those the skin writes itself, so the skin's own "Font" or picture
// overrides the template's instead of being hidden behind it.
inline TiXmlElement* OwnChildElement(XMLLoadSave& loader, TiXmlElement* element,
                                     const std::string& tag) {
    TiXmlElement* last = nullptr;
    for (TiXmlElement* child : loader.GetChildElements(element, tag)) last = child;
    return last;
}

}  // namespace Pym
