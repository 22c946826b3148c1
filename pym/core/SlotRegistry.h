#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pym/core/ConnectionStore.h"
#include "pym/core/Signal.h"

namespace Pym {

// Makes slot calls of one member function of one receiving class, for one accepted signal
// class (Signal::Base accepts every signal).
class SlotFactory {
public:
    explicit SlotFactory(int acceptedSignalId) : acceptedSignalId_(acceptedSignalId) {}
    virtual ~SlotFactory() = default;

    // Empty when the object is not of the receiving class.
    virtual SlotCall MakeCall(GuiObject* object) const = 0;

    int AcceptedSignalId() const { return acceptedSignalId_; }
    bool Accepts(int signalId) const {
        return acceptedSignalId_ == Signal::Base::Id() || acceptedSignalId_ == signalId;
    }

private:
    int acceptedSignalId_;
};

template <class Receiver, class Accepted>
class MemberSlotFactory : public SlotFactory {
public:
    using Member = void (Receiver::*)(Accepted&);
    explicit MemberSlotFactory(Member member) : SlotFactory(Accepted::Id()), member_(member) {}

    SlotCall MakeCall(GuiObject* object) const override {
        Receiver* receiver = dynamic_cast<Receiver*>(object);
        if (!receiver) return {};
        Member member = member_;
        // Only signals of the accepted class (or any, for Signal::Base) reach the call: the
        // connection is stored under the identifier it was made for.
        return [receiver, member](Signal::Base& signal, GuiObject*) {
            (receiver->*member)(static_cast<Accepted&>(signal));
        };
    }

private:
    Member member_;
};

// Slot name → slot factory.
class SlotRegistry {
public:
    void Register(const std::string& name, std::shared_ptr<SlotFactory> factory);
    bool Has(const std::string& name) const { return factories_.count(name) != 0; }
    // Empty when the name is unknown, the slot does not accept the signal, or the object is
    // not of the slot's class.
    SlotCall Make(const std::string& name, GuiObject* object, int signalId) const;
    std::vector<std::string> Names() const;

private:
    std::map<std::string, std::shared_ptr<SlotFactory>> factories_;
};

}  // namespace Pym
