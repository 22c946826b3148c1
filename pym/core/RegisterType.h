#pragma once

#include <memory>
#include <string>

#include <tinyxml.h>

#include "pym/core/DocMap.h"
#include "pym/core/ObjectFactory.h"
#include "pym/core/SlotRegistry.h"

namespace Pym {

// The name a class was registered under.
template <class T>
struct RegisteredTypeName {
    static inline std::string value;
};

// Registers class T under its qualified name, with its default document; meant for one line
// at the top of the class's source:
//     const bool registered = RegisterType<GridLayout>("Pym::GridLayout", "$PYM/...");
template <class T>
bool RegisterType(const std::string& typeName, const std::string& defaultXml) {
    RegisteredTypeName<T>::value = typeName;
    DllDocMapInstance().SetDefaultXml(typeName, defaultXml);
    DllGlobalObjectFactoryInstance().RegisterType(typeName, [](TiXmlElement* element) {
        auto object = std::make_unique<T>();
        GuiObject* built = object->Build(element) ? object.release() : nullptr;
        return built;
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
