#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pym/core/Signal.h"

namespace Pym {

// The signals skins may name: name → identifier, and name → a builder of a fresh signal.
class SignalRegistry {
public:
    using Builder = std::function<std::unique_ptr<Signal::Base>()>;

    void Register(const std::string& name, int id, Builder builder);
    template <class S>
    void Register() {
        Register(S::kName, S::Id(), [] { return std::make_unique<S>(); });
    }

    // 0 when the name is not registered.
    int IdByName(const std::string& name) const;
    // Null when the name is not registered.
    std::unique_ptr<Signal::Base> Make(const std::string& name) const;
    std::vector<std::string> Names() const;

private:
    std::map<std::string, int> ids_;
    std::map<std::string, Builder> builders_;
};

// Registers the signals that skins can name in "Connect" elements and keyframes.
void RegisterFrameworkSignals(SignalRegistry& registry);

}  // namespace Pym
