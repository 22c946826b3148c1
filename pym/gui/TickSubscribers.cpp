#include "pym/gui/TickSubscribers.h"

#include <algorithm>
#include <vector>

#include "pym/base/Singleton.h"
#include "pym/gui/GuiObject.h"
#include "pym/gui/ScreenManager.h"

namespace Pym {

namespace {

// Objects may outlive every static (singletons end last): the list is never destroyed.
std::vector<GuiObject*>& List() {
    static auto* list = new std::vector<GuiObject*>();
    return *list;
}

unsigned generation = 0;
int routing = 0;

bool InShownTree(const GuiObject* object) {
    _ScreenManager* managers = Singleton<_ScreenManager>::IfAlive();
    if (!managers) return false;
    auto within = [object](const GuiObject* root) {
        return root && root->IsVisible() && (root == object || root->IsAncestorOf(object));
    };
    for (ScreenManager* manager : managers->Managers()) {
        if (within(manager->Shown())) return true;
        for (const GuiObject* overlay : manager->Overlays())
            if (within(overlay)) return true;
    }
    return false;
}

bool RepaintWaiting() {
    _ScreenManager* managers = Singleton<_ScreenManager>::IfAlive();
    if (!managers) return false;
    for (ScreenManager* manager : managers->Managers()) {
        const GuiObject* content = manager->Content();
        if (manager->NeedsRedraw() && content && content->IsVisible()) return true;
    }
    return false;
}

}  // namespace

void TickSubscribers::Add(GuiObject* object) {
    if (!object || object->tickSubscriber_) return;
    object->tickSubscriber_ = true;
    List().push_back(object);
}

void TickSubscribers::Remove(GuiObject* object) {
    if (!object || !object->tickSubscriber_) return;
    object->tickSubscriber_ = false;
    std::erase(List(), object);
}

bool TickSubscribers::Has(const GuiObject* object) {
    return object && object->tickSubscriber_;
}

std::size_t TickSubscribers::Count() {
    return List().size();
}

int TickSubscribers::WantedInMs() {
    if (RepaintWaiting()) return 0;
    int soonest = -1;
    for (const GuiObject* object : List()) {
        if (!object->NeedsTicks() || !InShownTree(object)) continue;
        const int delay = std::max(object->TickDelayMs(), 0);
        if (soonest < 0 || delay < soonest) soonest = delay;
        if (soonest == 0) break;
    }
    return soonest;
}

TickSubscribers::Routing::Routing() {
    if (routing++ > 0) return;
    ++generation;
    for (GuiObject* object : List())
        for (GuiObject* up = object; up && up->tickMark_ != generation; up = up->GetParent())
            up->tickMark_ = generation;
}

TickSubscribers::Routing::~Routing() {
    --routing;
}

bool TickSubscribers::Routes() {
    return routing > 0;
}

bool TickSubscribers::OnPath(const GuiObject* object) {
    return object->tickMark_ == generation;
}

}  // namespace Pym
