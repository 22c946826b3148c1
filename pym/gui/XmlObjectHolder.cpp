#include "pym/gui/XmlObjectHolder.h"

#include "pym/base/Trace.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/GuiObject.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/ScreenManager.h"

namespace Pym {

namespace {

bool AttributeIs(const TiXmlElement* element, const char* name, const char* value) {
    const char* text = element->Attribute(name);
    return text && std::string(text) == value;
}

bool IsSelfOrAncestor(const GuiObject* candidate, const GuiObject* object) {
    for (const GuiObject* up = object; up; up = up->GetParent())
        if (up == candidate) return true;
    return false;
}

}  // namespace

bool XmlObjectHolder::CreateChildObjects(TiXmlElement* element) {
    GuiObject* self = HolderObject();
    bool allCreated = true;
    for (TiXmlElement* create : self->GetChildElements(element, "CreateObject")) {
        std::string name;
        XMLLoadSave::ReadAttribute(name, create, "Name", true);
        TiXmlElement* definition = create->FirstChildElement();
        if (!definition) continue;
        const bool addToLayout = !AttributeIs(create, "AddToLayout", "false");

        if (GuiObject* existing = FindObject(self, name)) {
            // Reusing this object or one that contains it would make the tree a cycle.
            if (IsSelfOrAncestor(existing, self)) {
                Trace("Pym::XmlObjectHolder::CreateChildObjects - " + name +
                      " would contain itself");
                allCreated = false;
                continue;
            }
            AddExisting(existing, create, addToLayout);
            continue;
        }

        definition = self->ResolveBaseXml(definition);
        std::unique_ptr<GuiObject> made =
            CreateNamedObject(definition->ValueStr(), name, self, definition);
        if (!made) {
            allCreated = false;
            continue;
        }
        GuiObject* child = made.get();
        self->Adopt(std::move(made));
        AddCreated(child, create, addToLayout);
    }
    self->Relayout();
    self->Redraw();
    return allCreated;
}

void XmlObjectHolder::AddExisting(GuiObject* child, TiXmlElement* create, bool addToLayout) {
    if (addToLayout)
        PlaceExisting(child, create);
    else
        PlaceFixed(child, create);
    HolderObject()->AddChild(child, true);
}

void XmlObjectHolder::AddCreated(GuiObject* child, TiXmlElement* create, bool addToLayout) {
    GuiObject* self = HolderObject();
    if (AttributeIs(create, "Visible", "false")) child->SetVisible(false);
    if (AttributeIs(create, "ForceSelected", "true")) child->SetForceSelected(true);
    if (AttributeIs(create, "Selectable", "true")) child->SetNotSelectable(0);
    if (!addToLayout) {
        PlaceFixed(child, create);
        self->AddChild(child, true);
        return;
    }
    AnimationPtr animation;
    if (TiXmlElement* first = create->FirstChildElement("Animation"))
        animation = CreateAnimation(first);
    AddToLayout(child, create, animation);
    self->ReadTabCoordinates(child, create);
    OnChildAddedToLayout(child);
}

bool XmlObjectHolder::CreateScreens(TiXmlElement* element) {
    GuiObject* self = HolderObject();
    std::vector<TiXmlElement*> declarations = self->GetChildElements(element, "CreateScreen");
    if (declarations.empty()) return true;
    ScreenManager* manager = self->FindScreenManager();
    if (!manager) {
        Trace("Pym::XmlObjectHolder::CreateScreens - no screen manager for " + self->GetName());
        return false;
    }
    for (TiXmlElement* screen : declarations) {
        std::string name, typeName, document, destroy;
        XMLLoadSave::ReadAttribute(name, screen, "ScreenName", true);
        XMLLoadSave::ReadAttribute(typeName, screen, "ObjectName", true);
        XMLLoadSave::ReadAttribute(document, screen, "Filename", true);
        XMLLoadSave::ReadAttribute(destroy, screen, "DestroyOnDeactivate");
        manager->DeclareScreen(name, typeName, document, destroy == "true");
    }
    return true;
}

TiXmlElement* XmlObjectHolder::FindObjectTemplate(const std::string& name) {
    GuiObject* self = HolderObject();
    TiXmlElement* element = self->GetElement();
    if (!element) return nullptr;
    for (TiXmlElement* object = element->FirstChildElement("Object"); object;
         object = object->NextSiblingElement("Object")) {
        const char* objectName = object->Attribute("Name");
        if (objectName && name == objectName)
            return self->ResolveBaseXml(object->FirstChildElement());
    }
    return nullptr;
}

AnimationPtr XmlObjectHolder::CreateAnimation(TiXmlElement* animation) {
    auto keyframes = std::make_shared<Animation>();
    if (!animation) return keyframes;
    for (TiXmlElement* element = animation->FirstChildElement("Element"); element;
         element = element->NextSiblingElement("Element"))
        keyframes->push_back(CreateAnimationElement(element));
    return keyframes;
}

Keyframe XmlObjectHolder::CreateAnimationElement(const TiXmlElement* element) {
    Keyframe keyframe;
    XMLLoadSave::ReadAttribute(keyframe.timeMs, element, "TimeMS");
    if (XMLLoadSave::ReadAttribute(keyframe.signal, element, "Signal") &&
        !DllGlobalObjectFactoryInstance().MakeSignal(keyframe.signal)) {
        Trace("Pym::XmlObjectHolder::CreateAnimationElement - Failed to create signal " +
              keyframe.signal);
        keyframe.signal.clear();
    }
    float alpha = 1.0f;
    if (XMLLoadSave::ReadAttribute(alpha, element, "Alpha")) keyframe.alpha = alpha;
    std::string text;
    if (XMLLoadSave::ReadAttribute(text, element, "XPos")) keyframe.x = GridVal(text);
    if (XMLLoadSave::ReadAttribute(text, element, "YPos")) keyframe.y = GridVal(text);
    if (XMLLoadSave::ReadAttribute(text, element, "Width")) keyframe.width = GridVal(text);
    if (XMLLoadSave::ReadAttribute(text, element, "Height")) keyframe.height = GridVal(text);
    return keyframe;
}

}  // namespace Pym
