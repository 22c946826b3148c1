#include "pym/core/SignalRegistry.h"

#include "pym/core/Signals.h"

namespace Pym {

void SignalRegistry::Register(const std::string& name, int id, Builder builder) {
    ids_[name] = id;
    builders_[name] = std::move(builder);
}

int SignalRegistry::IdByName(const std::string& name) const {
    auto found = ids_.find(name);
    return found == ids_.end() ? 0 : found->second;
}

std::unique_ptr<Signal::Base> SignalRegistry::Make(const std::string& name) const {
    auto found = builders_.find(name);
    return found == builders_.end() ? nullptr : found->second();
}

std::vector<std::string> SignalRegistry::Names() const {
    std::vector<std::string> names;
    for (const auto& [name, id] : ids_) names.push_back(name);
    return names;
}

void RegisterFrameworkSignals(SignalRegistry& registry) {
    using namespace Signal;
    registry.Register<Hide>();
    registry.Register<Show>();
    registry.Register<TextValidate>();
    registry.Register<LeftButtonDown>();
    registry.Register<RightButtonDown>();
    registry.Register<Activate>();
    registry.Register<String>();
    registry.Register<ScreenActivation>();
    registry.Register<ObjectSelected>();
    registry.Register<ObjectDeselected>();
    registry.Register<ObjectVisibilityChange>();
    registry.Register<EditBoxSignal>();
    registry.Register<AnimateForwards>();
    registry.Register<AnimateBackwards>();
    registry.Register<WindowClose>();
    registry.Register<WindowVisible>();
    registry.Register<ObjectReady>();
    registry.Register<ComboMenuButtonStartAnimation>();
    registry.Register<FocusMenuButtonStartAnimation>();
    registry.Register<MenuButtonStartAnimation>();
}

}  // namespace Pym
