#pragma once

#include <functional>
#include <map>
#include <vector>

namespace Pym {

class GuiObject;
namespace Signal {
class Base;
}

// A connected slot: called with the signal and the object on whose behalf it runs.
using SlotCall = std::function<void(Signal::Base&, GuiObject*)>;

// The slots connected on one object, by signal identifier and sender. The null sender key
// means "from any sender"; its calls run before those for the particular sender.
class ConnectionStore {
public:
    void Connect(int signalId, GuiObject* senderKey, SlotCall call);
    bool Has(int signalId) const { return !calls_.empty() && calls_.count(signalId) != 0; }
    std::size_t Count(int signalId) const;

    // Runs the calls for the signal's identifier: any-sender ones, then the sender's own.
    void Call(Signal::Base& signal, GuiObject* onBehalf) const;

private:
    std::map<int, std::map<GuiObject*, std::vector<SlotCall>>> calls_;
};

}  // namespace Pym
