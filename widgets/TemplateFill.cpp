#include "widgets/TemplateFill.h"

void FillPlaceholders(TiXmlElement* element,
                      const std::vector<std::pair<std::string, std::string>>& values) {
    for (TiXmlAttribute* attribute = element->FirstAttribute(); attribute;
         attribute = attribute->Next()) {
        std::string value = attribute->ValueStr();
        bool changed = false;
        for (const auto& [marker, text] : values) {
            for (std::size_t at = value.find(marker); at != std::string::npos;
                 at = value.find(marker, at + text.size())) {
                value.replace(at, marker.size(), text);
                changed = true;
            }
        }
        if (changed) attribute->SetValue(value);
    }
    for (TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
        FillPlaceholders(child, values);
}
