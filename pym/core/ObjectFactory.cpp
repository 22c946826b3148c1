#include "pym/core/ObjectFactory.h"

#include "pym/base/Singleton.h"

namespace Pym {

GlobalObjectFactory_::GlobalObjectFactory_() {
    RegisterFrameworkSignals(signals_);
}

void GlobalObjectFactory_::RegisterType(const std::string& typeName, ObjectCreator creator) {
    creators_[typeName] = std::move(creator);
}

std::vector<std::string> GlobalObjectFactory_::TypeNames() const {
    std::vector<std::string> names;
    for (const auto& [name, creator] : creators_) names.push_back(name);
    return names;
}

const ObjectCreator* GlobalObjectFactory_::Creator(const std::string& typeName) const {
    auto creator = creators_.find(typeName);
    return creator == creators_.end() ? nullptr : &creator->second;
}

void GlobalObjectFactory_::RegisterScopedName(const GuiObject* scope, const std::string& name,
                                              GuiObject* object) {
    if (scoped_) scoped_->Add(scope, name, object);
}

void GlobalObjectFactory_::RegisterGlobalName(const std::string& name, GuiObject* object) {
    globalNames_[name] = object;
}

GuiObject* GlobalObjectFactory_::FindScopedName(const GuiObject* scope,
                                                const std::string& name) const {
    if (scoped_)
        if (GuiObject* found = scoped_->Find(scope, name)) return found;
    return secondScoped_.Find(scope, name);
}

GuiObject* GlobalObjectFactory_::FindGlobalObject(const std::string& name) const {
    auto found = globalNames_.find(name);
    return found == globalNames_.end() ? nullptr : found->second;
}

void GlobalObjectFactory_::ForgetObject(const GuiObject* object) {
    if (shuttingDown_) return;
    if (scoped_) scoped_->Forget(object);
    secondScoped_.Forget(object);
    for (auto it = globalNames_.begin(); it != globalNames_.end();)
        it = it->second == object ? globalNames_.erase(it) : std::next(it);
}

void GlobalObjectFactory_::DestroyAll() {
    shuttingDown_ = true;
    scoped_.reset();
}

GlobalObjectFactory_& DllGlobalObjectFactoryInstance() {
    return Singleton<GlobalObjectFactory_>::Instance();
}

}  // namespace Pym
