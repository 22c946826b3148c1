#include "pym/gui/ButtonPictures.h"

#include <memory>

#include "pym/core/ObjectFactory.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/OwnChildElement.h"

namespace Pym {

GuiObject* ButtonPictures::Build(GuiObject& button, TiXmlElement* element, const std::string& tag) {
    TiXmlElement* holder = OwnChildElement(button, element, tag);
    TiXmlElement* definition = holder ? holder->FirstChildElement() : nullptr;
    if (!definition) return nullptr;
    definition = button.ResolveBaseXml(definition);
    std::unique_ptr<GuiObject> made =
        CreateNamedObject(definition->ValueStr(), tag, &button, definition);
    if (!made) return nullptr;
    GuiObject* picture = made.get();
    button.Adopt(std::move(made));
    pictures_.push_back(picture);
    return picture;
}

void ButtonPictures::ShowOnly(const GuiObject* shown) const {
    for (GuiObject* picture : pictures_) {
        const bool visible = picture == shown;
        if (picture->IsVisible() != visible) picture->SetVisible(visible);
    }
}

GuiObject* ButtonPictures::Shown() const {
    for (GuiObject* picture : pictures_)
        if (picture->IsVisible()) return picture;
    return nullptr;
}

}  // namespace Pym
