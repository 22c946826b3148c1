#pragma once

#include <functional>
#include <map>
#include <utility>

// Listeners that can leave again: whoever adds one keeps the id and removes it before it goes
// away, so no call reaches a destroyed object.
template <class... Args>
class ListenerList {
public:
    int Add(std::function<void(Args...)> listener) {
        listeners_.emplace(++lastId_, std::move(listener));
        return lastId_;
    }
    void Remove(int id) { listeners_.erase(id); }
    std::size_t size() const { return listeners_.size(); }

    // A listener may remove itself or another one while being called.
    void Call(Args... args) {
        for (auto it = listeners_.begin(); it != listeners_.end();) {
            const int id = it->first;
            auto listener = it->second;
            listener(args...);
            it = listeners_.upper_bound(id);
        }
    }

private:
    std::map<int, std::function<void(Args...)>> listeners_;
    int lastId_ = 0;
};
