#include "pym/core/ConnectionStore.h"

#include "pym/core/Signal.h"

namespace Pym {

void ConnectionStore::Connect(int signalId, GuiObject* senderKey, SlotCall call) {
    if (call) calls_[signalId][senderKey].push_back(std::move(call));
}

std::size_t ConnectionStore::Count(int signalId) const {
    auto bySender = calls_.find(signalId);
    if (bySender == calls_.end()) return 0;
    std::size_t count = 0;
    for (const auto& [key, calls] : bySender->second) count += calls.size();
    return count;
}

void ConnectionStore::Call(Signal::Base& signal, GuiObject* onBehalf) const {
    auto bySender = calls_.find(signal.id);
    if (bySender == calls_.end()) return;
    // Copies, so a slot may connect further slots while it runs.
    std::vector<SlotCall> due;
    if (auto any = bySender->second.find(nullptr); any != bySender->second.end()) due = any->second;
    if (signal.sender) {
        if (auto own = bySender->second.find(signal.sender); own != bySender->second.end())
            due.insert(due.end(), own->second.begin(), own->second.end());
    }
    for (const SlotCall& call : due) call(signal, onBehalf);
}

}  // namespace Pym
