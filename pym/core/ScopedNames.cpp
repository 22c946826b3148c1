#include "pym/core/ScopedNames.h"

#include <iterator>

namespace Pym {

void ScopedNames::Add(const GuiObject* scope, const std::string& name, GuiObject* object) {
    byScope_[scope].emplace(name, object);  // equal keys keep their insertion order
}

GuiObject* ScopedNames::Find(const GuiObject* scope, const std::string& name) const {
    auto names = byScope_.find(scope);
    if (names == byScope_.end()) return nullptr;
    auto found = names->second.lower_bound(name);
    return found != names->second.end() && found->first == name ? found->second : nullptr;
}

void ScopedNames::Forget(const GuiObject* object) {
    byScope_.erase(object);
    for (auto& [scope, names] : byScope_) {
        for (auto it = names.begin(); it != names.end();)
            it = it->second == object ? names.erase(it) : std::next(it);
    }
}

}  // namespace Pym
