#pragma once

#include <memory>
#include <string>

#include <tinyxml.h>

#include "pym/core/DocMap.h"
#include "pym/core/ObjectFactory.h"
#include "pym/core/SlotRegistry.h"

namespace Pym {

// The name a class was registered under. A function-local static, because registrations run
// during static initialisation, in no fixed order between files.
template <class T>
std::string& RegisteredTypeName() {
    static std::string name;
    return name;
}

// Registers class T under its qualified name, with its default document; meant for one line
// at the top of the class's source:
//     const bool registered = RegisterType<GridLayout>("Pym::GridLayout", "$PYM/...");
template <class T>
bool RegisterType(const std::string& typeName, const std::string& defaultXml) {
    RegisteredTypeName<T>() = typeName;
    DllDocMapInstance().SetDefaultXml(typeName, defaultXml);
    DllGlobalObjectFactoryInstance().RegisterType(
        typeName, [](TiXmlElement* element, const std::string& name) -> std::unique_ptr<GuiObject> {
            auto object = std::make_unique<T>();
            object->SetName(name);  // for an element-less build; an element's "Name" wins
            if (!object->Build(element)) return nullptr;
            return object;
        });
    return true;
}

// Registers a member function of T as a slot accepting signals of class S (Signal::Base:
// every signal).
template <class T, class S>
bool RegisterSlot(const std::string& name, void (T::*member)(S&)) {
    DllGlobalObjectFactoryInstance().RegisterSlot(
        name, std::make_shared<MemberSlotFactory<T, S>>(member));
    return true;
}

}  // namespace Pym
