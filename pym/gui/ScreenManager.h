#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "pym/core/XMLLoadSave.h"
#include "pym/gfx/Region.h"

namespace Pym {

class Document;
class GuiObject;
namespace Signal {
class Base;
}

// Thrown by lookups of an object's screen manager when its window has none yet.
class ScreenManagerNotReady : public std::runtime_error {
public:
    ScreenManagerNotReady() : std::runtime_error("ScreenManagerNotReady") {}
};

// One per host window: the screens the skin declares (built on first use, shown one at a
// time, with a back stack), the focused object, the region waiting to be repainted, and the
// way in for the host's input. Everything the tree does on behalf of the host runs under
// Lock().
class ScreenManager : public XMLLoadSave {
public:
    ScreenManager();
    ~ScreenManager() override;
    ScreenManager(const ScreenManager&) = delete;
    ScreenManager& operator=(const ScreenManager&) = delete;

    // --- screens ----------------------------------------------------------------------------

    void DeclareScreen(const std::string& name, const std::string& typeName,
                       const std::string& document, bool destroyOnDeactivate);
    bool Declares(const std::string& name) const { return declarations_.count(name) != 0; }
    // Checks every declared screen without building it, so that a broken one is found before
    // the window runs: its document and every document it inherits from load, every object it
    // creates has a registered type, and every screen it shows is declared. Throws
    // XMLLoadSaveException with the first fault.
    void CheckAllScreens();
    // Shows the named screen; the empty name shows the window's content.
    virtual void ActivateScreen(const std::string& name, bool addToBackStack);
    // The screen's object, built when declared but not built yet; the empty name gives the
    // content. Null when there is none or it is hidden.
    GuiObject* GetScreen(const std::string& name);
    void ScreenBack();
    void ResetBackStack();
    const std::vector<std::string>& BackStack() const { return backStack_; }
    // The name of the screen shown, empty while the content is.
    const std::string& CurrentScreen() const { return current_; }

    // The window object the host was made for: shown when no screen is, scope of screens.
    void SetContent(GuiObject* content) { content_ = content; }
    GuiObject* Content() const { return content_; }
    // What the host shows and routes input to: the current screen's object, else the content.
    GuiObject* Shown() const;
    // The size every screen is given.
    void SetScreenArea(int width, int height);
    // Called whenever another screen (or the content) is shown.
    void SetScreenChangeHook(std::function<void()> hook) { screenChanged_ = std::move(hook); }

    // Drawn over the shown object and offered its input, in order (popups inside the window).
    void AddOverlay(GuiObject* overlay);
    void RemoveOverlay(GuiObject* overlay);
    const std::vector<GuiObject*>& Overlays() const { return overlays_; }

    // --- focus ------------------------------------------------------------------------------

    void SetFocus(GuiObject* object);
    GuiObject* Focus() const { return focus_; }

    // --- repainting -------------------------------------------------------------------------

    // Adds a rectangle in host-window coordinates to the region to repaint; empty ones add
    // nothing.
    virtual void Invalidate(int x, int y, int width, int height);
    const Gfx::Region& InvalidRegion() const { return invalidRegion_; }
    Gfx::Region& InvalidRegion() { return invalidRegion_; }
    bool NeedsRedraw() const { return needsRedraw_; }
    void SetNeedsRedraw(bool needed) { needsRedraw_ = needed; }
    // Asks the next paint to repaint the whole window.
    void RequestFullRedraw() { fullRedraw_ = needsRedraw_ = true; }
    bool FullRedrawRequested() const { return fullRedraw_; }
    void PaintDone();

    // --- input ------------------------------------------------------------------------------

    // Delivers a signal from the shown object through its tree and then to the overlays;
    // true when something asked for a repaint.
    bool Deliver(Signal::Base& signal);
    // Delivers to the content and to every built screen (the host window moved).
    bool DeliverToAll(Signal::Base& signal);
    // A button press: delivered, and the focused object loses the focus when not hit.
    bool DeliverPress(Signal::Base& press, int x, int y);
    // Forgets which object the pointer hovers over or pressed (the window lost the focus).
    virtual void ClearPointerRecords();
    // Destroys the screens left with "DestroyOnDeactivate"; called between events, never
    // while a signal is on its way through one of them.
    void DisposePending();
    bool ButtonHeld() const { return buttonHeld_; }
    void SetButtonHeld(bool held) { buttonHeld_ = held; }
    // Milliseconds since the manager started.
    int ElapsedMs() const;

    std::recursive_mutex& Lock() { return lock_; }

    // --- clipboard --------------------------------------------------------------------------

    bool GetClipboardText(std::string& text);
    bool SetClipboardText(const std::string& text);

private:
    struct Entry {
        std::unique_ptr<GuiObject> object;
        bool destroyOnDeactivate = false;
        bool disposalPending = false;
    };
    struct Declaration {
        std::string typeName;
        std::string document;
    };

    GuiObject* LoadScreen(const std::string& name);
    // What the check learnt of each base document it went through, by path.
    struct CheckedBase {
        std::string type;
        bool hasChildren = false;
    };
    using CheckedBases = std::map<std::string, CheckedBase>;
    // Checks the children of an element of the given type; with firstChildInherited its first
    // child is one of its base's, checked with the base.
    void CheckElements(XMLLoadSave& checker, TiXmlElement* element, const std::string& type,
                       bool firstChildInherited, CheckedBases& checked);
    void Announce(GuiObject* object, bool active);

    std::vector<std::string> backStack_;
    std::map<std::string, Entry> screens_;
    std::map<std::string, Declaration> declarations_;
    // The documents the screens were built from, which point back at this manager.
    std::vector<Document*> screenDocuments_;
    std::string current_;
    bool hasCurrent_ = false;
    GuiObject* content_ = nullptr;
    double startSeconds_;
    Gfx::Region invalidRegion_;
    bool needsRedraw_ = false;
    bool fullRedraw_ = false;
    int areaWidth_ = 0, areaHeight_ = 0;
    GuiObject* focus_ = nullptr;
    std::vector<GuiObject*> overlays_;
    bool buttonHeld_ = false;
    std::function<void()> screenChanged_;
    std::recursive_mutex lock_;
};

// Every live screen manager of the process.
class _ScreenManager {
public:
    void Add(ScreenManager* manager) { managers_.push_back(manager); }
    void Remove(ScreenManager* manager);
    const std::vector<ScreenManager*>& Managers() const { return managers_; }

private:
    std::vector<ScreenManager*> managers_;
};

_ScreenManager& DllScreenCollectorInstance();

}  // namespace Pym
