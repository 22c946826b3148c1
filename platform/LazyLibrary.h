#pragma once

#include <string>

namespace Platform {

// A shared library opened when it is first needed rather than linked: every linked library is
// loaded and relocated before main runs, and one needed only later (a download, a sample file,
// the sound devices) need not cost the start. Never closed: a library may leave threads or
// handlers of its own behind.
class LazyLibrary {
public:
    // A large library whose entry points are few binds each function when first called, as a
    // linked one does, instead of all of them at the open.
    enum class Binding { AtOpen, OnFirstCall };

    explicit LazyLibrary(const char* soname, Binding binding = Binding::AtOpen);
    LazyLibrary(const LazyLibrary&) = delete;
    LazyLibrary& operator=(const LazyLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    // Why it could not be opened; empty when it was.
    const std::string& Error() const { return error_; }

    // The named entry point; null when the library or the entry point is missing.
    void* Symbol(const char* name) const;
    // Points `function` at the named entry point; false (and null) when there is none.
    template <typename Function>
    bool Resolve(const char* name, Function& function) const {
        function = reinterpret_cast<Function>(Symbol(name));
        return function != nullptr;
    }

private:
    void* handle_;
    std::string error_;
};

}  // namespace Platform
