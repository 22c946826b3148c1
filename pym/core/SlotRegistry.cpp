#include "pym/core/SlotRegistry.h"

namespace Pym {

void SlotRegistry::Register(const std::string& name, std::shared_ptr<SlotFactory> factory) {
    factories_[name] = std::move(factory);
}

SlotCall SlotRegistry::Make(const std::string& name, GuiObject* object, int signalId) const {
    auto found = factories_.find(name);
    if (found == factories_.end() || !object || !found->second->Accepts(signalId)) return {};
    return found->second->MakeCall(object);
}

std::vector<std::string> SlotRegistry::Names() const {
    std::vector<std::string> names;
    for (const auto& [name, factory] : factories_) names.push_back(name);
    return names;
}

}  // namespace Pym
