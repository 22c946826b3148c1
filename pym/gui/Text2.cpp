#include "pym/gui/Text2.h"

#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered = RegisterType<Text2>("Pym::Text2", "$PYM/Objects/Text2/Text2.xml");

}  // namespace

bool Text2::LoadFromXml(TiXmlElement* element) {
    if (!Text::LoadFromXml(element)) return false;
    ReadAttribute(maxWidth_, element, "MaxWidth");
    return true;
}

}  // namespace Pym
