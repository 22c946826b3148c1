
#include "pym/gui/ObjectCreation.h"

#include "platform/Shell.h"
#include "pym/base/Trace.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/GuiObject.h"

namespace Pym {

namespace {

CreationWatch* innermostWatch = nullptr;

std::string DocumentPathOf(const TiXmlElement* element) {
    const TiXmlDocument* document = element ? element->GetDocument() : nullptr;
    return document ? document->ValueStr() : std::string();
}

}  // namespace

CreationWatch::CreationWatch() : outer_(innermostWatch) {
    innermostWatch = this;
}

CreationWatch::~CreationWatch() {
    innermostWatch = outer_;
}

std::unique_ptr<GuiObject> CreateNamedObject(const std::string& typeName,
                                             const std::string& objectName, GuiObject* scope,
                                             TiXmlElement* element) {
    GlobalObjectFactory_& factory = DllGlobalObjectFactoryInstance();
    const ObjectCreator* creator = factory.Creator(typeName);
    if (!creator) {
        const std::string file = DocumentPathOf(element);
        Platform::Shell().Open(file, "edit");
        const std::string text = "GlobalObjectFactory: Failed to create object of type " +
                                 typeName + " filename = " + file;
        for (CreationWatch* watch = innermostWatch; watch; watch = watch->outer_)
            watch->failures_.push_back(text);
        Trace(text);
        return nullptr;
    }
    if (element) {
        // The object answers to the name its creator gives it and to the one it was defined
        // with; skins read the given one through references to the element's "Name".
        if (const char* definedName = element->Attribute("Name"))
            XMLLoadSave::AddChildElement(element, "Alias")->SetAttribute("Name", definedName);
        element->SetAttribute("Name", objectName);
    }
    std::unique_ptr<GuiObject> object = (*creator)(element, objectName);
    if (object) factory.RegisterScopedName(scope, objectName, object.get());
    return object;
}

}  // namespace Pym
