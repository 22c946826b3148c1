#pragma once

#include <map>
#include <string>

namespace Pym {

class GuiObject;

// Names of objects by the scope they were created in. A second object under a name already
// taken in a scope is kept after the first; lookups return the first.
class ScopedNames {
public:
    void Add(const GuiObject* scope, const std::string& name, GuiObject* object);
    GuiObject* Find(const GuiObject* scope, const std::string& name) const;
    // Drops the scope's own entry and every record of the object under other scopes.
    void Forget(const GuiObject* object);
    bool HasScope(const GuiObject* scope) const { return byScope_.count(scope) != 0; }

private:
    std::map<const GuiObject*, std::multimap<std::string, GuiObject*>> byScope_;
};

}  // namespace Pym
