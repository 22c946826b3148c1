#pragma once

#include <memory>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "pym/gui/GuiObject.h"

namespace Pym {

// Creates an object of a registered type from the element, names it `objectName` and records
// that name in `scope`; the object still answers to the name its definition carries (kept as an
// "Alias" child of the element, whose "Name" becomes `objectName`). An unknown type is reported
// (its document opened for editing) and gives null, as does a creator that fails.
std::unique_ptr<GuiObject> CreateNamedObject(const std::string& typeName,
                                             const std::string& objectName, GuiObject* scope,
                                             TiXmlElement* element);

// Collects the creation failures (unknown types) reported while it lives, so that whoever
// builds a tree learns that it has holes without reading diagnostics. Watches nest; each sees
// every failure of its lifetime. GUI thread only.
class CreationWatch {
public:
    CreationWatch();
    ~CreationWatch();
    CreationWatch(const CreationWatch&) = delete;
    CreationWatch& operator=(const CreationWatch&) = delete;

    bool Failed() const { return !failures_.empty(); }
    // The first failure's report; empty when none.
    std::string FirstFailure() const { return failures_.empty() ? std::string() : failures_[0]; }

private:
    friend std::unique_ptr<GuiObject> CreateNamedObject(const std::string&, const std::string&,
                                                        GuiObject*, TiXmlElement*);
    std::vector<std::string> failures_;
    CreationWatch* outer_;
};

// As CreateNamedObject, for an object that must be a T: anything else is destroyed and gives
// null.
template <class T>
std::unique_ptr<T> CreateNamedObjectAs(const std::string& typeName, const std::string& objectName,
                                       GuiObject* scope, TiXmlElement* element) {
    std::unique_ptr<GuiObject> made = CreateNamedObject(typeName, objectName, scope, element);
    if (!dynamic_cast<T*>(made.get())) return nullptr;
    return std::unique_ptr<T>(static_cast<T*>(made.release()));
}

}  // namespace Pym
