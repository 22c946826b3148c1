#include "pym/core/ObjectFactory.h"

#include "platform/Shell.h"
#include "pym/core/Singleton.h"
#include "pym/core/Trace.h"
#include "pym/core/XMLLoadSave.h"

namespace Pym {

namespace {

std::string DocumentPathOf(const TiXmlElement* element) {
    const TiXmlDocument* document = element ? element->GetDocument() : nullptr;
    return document ? document->ValueStr() : std::string();
}

}  // namespace

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

GuiObject* GlobalObjectFactory_::CreateNamedObject(const std::string& typeName,
                                                   const std::string& objectName, GuiObject* scope,
                                                   TiXmlElement* element) {
    auto creator = creators_.find(typeName);
    if (creator == creators_.end()) {
        std::string file = DocumentPathOf(element);
        std::string text = "GlobalObjectFactory: Failed to create object of type " + typeName +
                           " filename = " + file;
        Platform::Shell().Open(file, "edit");
        Trace(text);
        return nullptr;
    }
    if (element) {
        // The object answers to the name its creator gives it and to the one it was defined with.
        if (const char* oldName = element->Attribute("Name"))
            XMLLoadSave::AddChildElement(element, "Alias")->SetAttribute("Name", oldName);
        element->SetAttribute("Name", objectName);
    }
    GuiObject* object = creator->second(element);
    if (!object) return nullptr;
    RegisterScopedName(scope, objectName, object);
    return object;
}

void GlobalObjectFactory_::RegisterScopedName(const GuiObject* scope, const std::string& name,
                                              GuiObject* object) {
    if (scoped_) scoped_->Add(scope, name, object);
}

void GlobalObjectFactory_::RegisterGlobalName(const std::string& name, GuiObject* object) {
    globalNames_[name] = object;
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
