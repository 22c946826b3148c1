#pragma once

#include <cstdlib>
#include <stdexcept>

namespace Pym {

// Process-wide objects: created on first use, destroyed by the exit handlers in reverse order
// of creation, and never silently re-created afterwards. A use after destruction throws
// std::logic_error("Dead Reference Detected").
//
// The exit handler is registered after the constructor has run, so singletons created inside
// another singleton's constructor outlive it.
template <class T>
class Singleton {
public:
    static T& Instance() {
        if (destroyed_) throw std::logic_error("Dead Reference Detected");
        if (!instance_) {
            instance_ = new T();
            std::atexit(&Destroy);
        }
        return *instance_;
    }

    // The object when it exists, without creating it or throwing; for destructors that must
    // not touch a singleton that is already gone.
    static T* IfAlive() { return instance_; }

    static bool IsDestroyed() { return destroyed_; }

    static void Destroy() {
        T* doomed = instance_;
        instance_ = nullptr;
        destroyed_ = true;
        delete doomed;
    }

private:
    // Constant-initialised, so a singleton can be used during static initialisation.
    static inline T* instance_ = nullptr;
    static inline bool destroyed_ = false;
};

}  // namespace Pym
