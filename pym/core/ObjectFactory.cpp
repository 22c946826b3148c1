#include "pym/core/ObjectFactory.h"

#include "platform/Shell.h"
#include "pym/core/Singleton.h"
#include "pym/core/Trace.h"
#include "pym/core/XMLLoadSave.h"
#include "pym/gui/GuiObject.h"

namespace Pym {

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    static const std::string kSeparator = "->";
    std::vector<std::string> segments;
    std::size_t start = 0;
    for (std::size_t at; (at = path.find(kSeparator, start)) != std::string::npos;
         start = at + kSeparator.size())
        segments.push_back(path.substr(start, at - start));
    segments.push_back(path.substr(start));
    return segments;
}

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

GuiObject* GlobalObjectFactory_::FindName(GuiObject* scope, const std::string& name) const {
    for (GuiObject* candidate = scope; candidate; candidate = candidate->GetParent()) {
        if (scoped_)
            if (GuiObject* found = scoped_->Find(candidate, name)) return found;
        if (GuiObject* found = secondScoped_.Find(candidate, name)) return found;
        if (candidate->GetName() == name || XMLLoadSave::MatchesName(candidate->GetElement(), name))
            return candidate;
    }
    return nullptr;
}

GuiObject* GlobalObjectFactory_::FindObject(GuiObject* scope, const std::string& path) const {
    GuiObject* found = scope;
    for (const std::string& segment : SplitPath(path)) {
        if (segment.empty()) return nullptr;
        found = FindName(found, segment);
        if (!found) return nullptr;
    }
    return found;
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
