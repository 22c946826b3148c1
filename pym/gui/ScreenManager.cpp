#include "pym/gui/ScreenManager.h"

#include <algorithm>

#include "platform/HostWindow.h"
#include "platform/Shell.h"
#include "pym/base/Singleton.h"
#include "pym/base/Trace.h"
#include "pym/core/Clock.h"
#include "pym/core/DocMap.h"
#include "pym/core/Document.h"
#include "pym/core/DocumentHold.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/GuiObject.h"
#include "pym/gui/ObjectCreation.h"

namespace Pym {

_ScreenManager& DllScreenCollectorInstance() {
    return Singleton<_ScreenManager>::Instance();
}

void _ScreenManager::Remove(ScreenManager* manager) {
    std::erase(managers_, manager);
}

namespace {

std::string DocumentPathOf(const TiXmlElement* element) {
    const TiXmlDocument* document = element->GetDocument();
    return document ? document->ValueStr() : std::string();
}

[[noreturn]] void Fail(const TiXmlElement* element, const std::string& text) {
    Platform::Shell().Open(DocumentPathOf(element), "edit");
    Trace(text);
    throw XMLLoadSaveException(text);
}

// An object of a type nobody registered would leave a hole in the screen; said as building
// it would say it.
void CheckType(const std::string& typeName, const TiXmlElement* where) {
    if (!DllGlobalObjectFactoryInstance().Creator(typeName))
        Fail(where, "GlobalObjectFactory: Failed to create object of type " + typeName +
                        " filename = " + DocumentPathOf(where));
}

// The path of the document an element inherits from; empty for none, or for a "default" its
// type does not have (resolving it reports that).
std::string BasePath(const TiXmlElement* element) {
    const char* base = element->Attribute("BaseXML");
    if (!base || !*base) return std::string();
    _DocMap& map = DllDocMapInstance();
    const std::string reference =
        std::string(base) == "default" ? map.GetDefaultXml(element->ValueStr()) : base;
    return reference.empty() ? reference : map.ResolvePath(reference);
}

std::size_t ChildElementCount(const TiXmlElement* element) {
    std::size_t count = 0;
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
        ++count;
    return count;
}

}  // namespace

ScreenManager::ScreenManager() : startSeconds_(ClockSeconds()) {
    DllScreenCollectorInstance().Add(this);
}

ScreenManager::~ScreenManager() {
    if (_ScreenManager* collector = Singleton<_ScreenManager>::IfAlive()) collector->Remove(this);
    focus_ = nullptr;
    overlays_.clear();
    // Newest screens may refer to older ones: destroy in reverse order of building.
    screens_.clear();
    declarations_.clear();
    // The documents stay in the document map: nothing loaded later may find this manager.
    for (Document* document : screenDocuments_) {
        if (document->ownerScreenManager == this) document->ownerScreenManager = nullptr;
        if (document->ownerWindow == content_) document->ownerWindow = nullptr;
    }
}

// --- screens ------------------------------------------------------------------------------

void ScreenManager::DeclareScreen(const std::string& name, const std::string& typeName,
                                  const std::string& document, bool destroyOnDeactivate) {
    declarations_[name] = Declaration{typeName, document};
    Entry& entry = screens_[name];
    entry.destroyOnDeactivate = destroyOnDeactivate;
}

GuiObject* ScreenManager::Shown() const {
    if (hasCurrent_) {
        auto found = screens_.find(current_);
        if (found != screens_.end() && found->second.object) return found->second.object.get();
    }
    return content_;
}

void ScreenManager::SetScreenArea(int width, int height) {
    areaWidth_ = width;
    areaHeight_ = height;
}

void ScreenManager::Announce(GuiObject* object, bool active) {
    Signal::ScreenActivation signal(active ? 1 : 0);
    signal.sender = object;
    object->DeliverSignal(signal, true);
}

void ScreenManager::ActivateScreen(const std::string& name, bool addToBackStack) {
    if (hasCurrent_ && current_ == name) return;
    if (addToBackStack) backStack_.push_back(name);

    if (hasCurrent_) {
        Entry& old = screens_[current_];
        if (old.object) Announce(old.object.get(), false);
        if (old.destroyOnDeactivate) old.disposalPending = true;
        hasCurrent_ = false;
        current_.clear();
    } else if (content_) {
        Announce(content_, false);
    }

    if (!name.empty()) {
        Entry& entry = screens_[name];
        current_ = name;
        hasCurrent_ = true;
        if (!entry.object || entry.disposalPending) {
            entry.disposalPending = false;
            if (!entry.object) LoadScreen(name);
        }
        if (GuiObject* object = entry.object.get()) {
            // A screen shown again takes the window's size as it is now.
            object->Resize(areaWidth_, areaHeight_);
            object->Relayout();
            Signal::WindowActivated activated(0);
            object->SendSignal(object, activated);
            Announce(object, true);
        }
    } else if (content_) {
        Announce(content_, true);
    }

    GuiObject* shown = Shown();
    if (shown && shown->IsVisible()) shown->Redraw();
    // The new screen is painted whole.
    invalidRegion_.Clear();
    RequestFullRedraw();
    if (screenChanged_) screenChanged_();
}

void ScreenManager::CheckAllScreens() {
    CheckedBases checked;
    // Nothing is built from what the check loads: its documents go back to the map with it.
    XMLLoadSave checker;
    DocumentHold roots;
    for (const auto& declared : declarations_) {
        TiXmlElement* root =
            checker.RequireRootElement(declared.second.document, nullptr, false, &roots);
        CheckType(declared.second.typeName, root);
        CheckElements(checker, root, root->ValueStr(), false, checked);
    }
}

void ScreenManager::CheckElements(XMLLoadSave& checker, TiXmlElement* element,
                                  const std::string& type, bool firstChildInherited,
                                  CheckedBases& checked) {
    for (TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement()) {
        const char* screen = child->Attribute("ScreenSlot");
        if (child->ValueStr() == "Connect" && screen && *screen && !Declares(screen))
            Fail(child, std::string("ScreenSlot ") + screen + " names no declared screen");
        const bool createdType =
            type == "CreateObject" && !firstChildInherited && child == element->FirstChildElement();
        // Inheriting gives the base's children, then the element's own: a base checked once
        // leaves only the own children to check at its other uses.
        const std::string base = BasePath(child);
        if (auto known = checked.find(base); !base.empty() && known != checked.end()) {
            if (createdType) CheckType(known->second.type, child);
            CheckElements(checker, child, known->second.type, known->second.hasChildren, checked);
            continue;
        }
        const std::size_t ownChildren = ChildElementCount(child);
        // Whatever inherits is resolved as building would resolve it: a missing base throws.
        TiXmlElement* resolved = checker.ResolveBaseXml(child);
        if (createdType) CheckType(resolved->ValueStr(), child);
        CheckElements(checker, resolved, resolved->ValueStr(), false, checked);
        if (!base.empty())
            checked.emplace(
                base, CheckedBase{resolved->ValueStr(), ChildElementCount(resolved) > ownChildren});
    }
}

GuiObject* ScreenManager::LoadScreen(const std::string& name) {
    auto declared = declarations_.find(name);
    if (declared == declarations_.end()) return nullptr;
    const std::string& reference = declared->second.document;
    TiXmlElement* root = GetRootElement(reference);
    if (!root) {
        Trace("Pym::ScreenManager::LoadScreen - no document " + reference + " for screen " + name);
        return nullptr;
    }
    if (Document* document = Document::Of(root)) {
        // The screen shows in the content's window: its texts size themselves by it.
        document->ownerScreenManager = this;
        document->ownerWindow = content_;
        screenDocuments_.push_back(document);
    }
    std::unique_ptr<GuiObject> made =
        CreateNamedObject(declared->second.typeName, name, content_, root);
    if (!made) return nullptr;
    GuiObject* built = made.get();
    Entry& entry = screens_[name];
    entry.object = std::move(made);
    built->SetScreenManager(this);
    built->Resize(areaWidth_, areaHeight_);
    built->Relayout();
    built->ConnectAndAnnounceReady(built);
    return built;
}

GuiObject* ScreenManager::GetScreen(const std::string& name) {
    GuiObject* object = content_;
    if (!name.empty()) {
        auto found = screens_.find(name);
        object = found != screens_.end() ? found->second.object.get() : nullptr;
        if (!object && declarations_.count(name)) object = LoadScreen(name);
    }
    return object && object->IsVisible() ? object : nullptr;
}

void ScreenManager::ScreenBack() {
    if (backStack_.size() <= 1) return;
    backStack_.pop_back();
    ActivateScreen(backStack_.back(), false);
}

void ScreenManager::ResetBackStack() {
    if (backStack_.empty()) return;
    backStack_.erase(backStack_.begin(), backStack_.end() - 1);
}

void ScreenManager::DisposePending() {
    for (auto& [name, entry] : screens_) {
        if (!entry.disposalPending) continue;
        entry.disposalPending = false;
        if (hasCurrent_ && current_ == name) continue;
        if (entry.object && (focus_ == entry.object.get() || entry.object->IsAncestorOf(focus_)))
            focus_ = nullptr;
        entry.object.reset();
    }
}

void ScreenManager::AddOverlay(GuiObject* overlay) {
    if (overlay && std::find(overlays_.begin(), overlays_.end(), overlay) == overlays_.end())
        overlays_.push_back(overlay);
}

void ScreenManager::RemoveOverlay(GuiObject* overlay) {
    std::erase(overlays_, overlay);
}

// --- focus --------------------------------------------------------------------------------

void ScreenManager::SetFocus(GuiObject* object) {
    if (object == focus_) return;
    GuiObject* old = focus_;
    focus_ = object;
    if (old) {
        Signal::FocusChange lost(1);
        old->SendSignalToSelf(lost);
    }
    if (object) {
        Signal::FocusChange gained(0);
        object->SendSignalToSelf(gained);
    }
}

// --- repainting ---------------------------------------------------------------------------

void ScreenManager::Invalidate(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    invalidRegion_.Add(Gfx::Rect{static_cast<float>(x), static_cast<float>(y),
                                 static_cast<float>(width), static_cast<float>(height)});
    needsRedraw_ = true;
}

void ScreenManager::PaintDone() {
    invalidRegion_.Clear();
    needsRedraw_ = false;
    fullRedraw_ = false;
}

// --- input --------------------------------------------------------------------------------

namespace {

// What the window itself must hear whatever screen is shown: it drags and resizes itself by
// the handles of the screen, and reshapes itself at every new size.
bool IsWindowSignal(const Signal::Base& signal) {
    const int id = signal.id;
    return id == Signal::LeftButtonDown::Id() || id == Signal::LeftButtonUp::Id() ||
           id == Signal::MouseMove::Id() || id == Signal::WindowSized::Id();
}

}  // namespace

bool ScreenManager::Deliver(Signal::Base& signal) {
    GuiObject* root = Shown();
    if (!root || !root->IsVisible() || DllGlobalObjectFactoryInstance().DeliverySuspended())
        return needsRedraw_;
    signal.sender = root;
    root->DeliverSignal(signal, true);
    if (root != content_ && content_ && IsWindowSignal(signal)) content_->SendSignalToSelf(signal);
    for (std::size_t i = 0; i < overlays_.size(); ++i) {
        GuiObject* overlay = overlays_[i];
        if (!overlay->IsVisible()) continue;
        if (signal.IsPositional()) {
            auto& point = static_cast<Signal::Positional&>(signal);
            point.offsetX = point.offsetY = 0;
        }
        overlay->DeliverSignal(signal, true);
    }
    return needsRedraw_;
}

bool ScreenManager::DeliverToAll(Signal::Base& signal) {
    if (content_) {
        signal.sender = content_;
        content_->DeliverSignal(signal, true);
    }
    for (auto& [name, entry] : screens_)
        if (entry.object) {
            signal.sender = entry.object.get();
            entry.object->DeliverSignal(signal, true);
        }
    return needsRedraw_;
}

bool ScreenManager::DeliverPress(Signal::Base& press, int x, int y) {
    Deliver(press);
    if (focus_ && !focus_->HitTest(x, y)) SetFocus(nullptr);
    return needsRedraw_;
}

void ScreenManager::ClearPointerRecords() {
    buttonHeld_ = false;
}

int ScreenManager::ElapsedMs() const {
    return static_cast<int>((ClockSeconds() - startSeconds_) * 1000.0);
}

// --- clipboard ----------------------------------------------------------------------------

bool ScreenManager::GetClipboardText(std::string& text) {
    return Platform::Host().GetClipboardText(text);
}

bool ScreenManager::SetClipboardText(const std::string& text) {
    return Platform::Host().SetClipboardText(text);
}

}  // namespace Pym
