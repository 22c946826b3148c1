#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "pym/core/ScopedNames.h"
#include "pym/core/SignalRegistry.h"
#include "pym/core/SlotRegistry.h"

namespace Pym {

class GuiObject;

// Builds the object for an element under the name its creator gives it, or returns null.
using ObjectCreator =
    std::function<std::unique_ptr<GuiObject>(TiXmlElement* element, const std::string& name)>;

// The process-wide registry: object types by name, the names under which objects live (by
// scope, and globally), and the signal and slot registries that "Connect" elements use.
// It records names only; objects belong to the object they were added to.
class GlobalObjectFactory_ {
public:
    GlobalObjectFactory_();
    GlobalObjectFactory_(const GlobalObjectFactory_&) = delete;
    GlobalObjectFactory_& operator=(const GlobalObjectFactory_&) = delete;

    // --- object types -----------------------------------------------------------------------

    void RegisterType(const std::string& typeName, ObjectCreator creator);
    bool IsRegistered(const std::string& typeName) const { return creators_.count(typeName) != 0; }
    std::vector<std::string> TypeNames() const;

    // The creator registered for the type, or null. Objects are made through
    // Pym::CreateNamedObject, which also records their names.
    const ObjectCreator* Creator(const std::string& typeName) const;

    // --- names ------------------------------------------------------------------------------

    void RegisterScopedName(const GuiObject* scope, const std::string& name, GuiObject* object);
    // The object recorded under the name in that very scope (first registry, then the second);
    // lookups through enclosing scopes walk the object tree (Pym::FindObject).
    GuiObject* FindScopedName(const GuiObject* scope, const std::string& name) const;
    // The registry searched after the first; nothing in the framework fills it yet.
    ScopedNames& SecondScopedNames() { return secondScoped_; }

    void RegisterGlobalName(const std::string& name, GuiObject* object);
    GuiObject* FindGlobalObject(const std::string& name) const;

    // Called by every object as it is destroyed: drops its scope and the names that lead to it.
    void ForgetObject(const GuiObject* object);

    // --- signals and slots ------------------------------------------------------------------

    void RegisterSignal(const std::string& name, int id, SignalRegistry::Builder builder) {
        signals_.Register(name, id, std::move(builder));
    }
    int SignalIdByName(const std::string& name) const { return signals_.IdByName(name); }
    std::unique_ptr<Signal::Base> MakeSignal(const std::string& name) const {
        return signals_.Make(name);
    }
    std::vector<std::string> SignalNames() const { return signals_.Names(); }

    void RegisterSlot(const std::string& name, std::shared_ptr<SlotFactory> factory) {
        slots_.Register(name, std::move(factory));
    }
    SlotCall MakeSlot(const std::string& slotName, GuiObject* object, int signalId) const {
        return slots_.Make(slotName, object, signalId);
    }
    bool HasSlot(const std::string& name) const { return slots_.Has(name); }
    std::vector<std::string> SlotNames() const { return slots_.Names(); }

    // While set, windows deliver no input or timer signals (a tool that edits a running skin
    // holds the tree still).
    bool DeliverySuspended() const { return deliverySuspended_; }
    void SetDeliverySuspended(bool suspended) { deliverySuspended_ = suspended; }

    // --- shutdown ---------------------------------------------------------------------------

    bool IsShuttingDown() const { return shuttingDown_; }
    // Sets the shutdown flag and frees the scoped names, so objects destroyed later find
    // nothing to update.
    void DestroyAll();

private:
    SignalRegistry signals_;
    std::map<std::string, GuiObject*> globalNames_;
    SlotRegistry slots_;
    std::map<std::string, ObjectCreator> creators_;
    std::unique_ptr<ScopedNames> scoped_ = std::make_unique<ScopedNames>();
    ScopedNames secondScoped_;
    bool shuttingDown_ = false;
    bool deliverySuspended_ = false;
};

GlobalObjectFactory_& DllGlobalObjectFactoryInstance();

}  // namespace Pym
