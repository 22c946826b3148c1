#include "platform/LazyLibrary.h"

#include <dlfcn.h>

namespace Platform {

LazyLibrary::LazyLibrary(const char* soname, Binding binding)
    : handle_(dlopen(soname, (binding == Binding::AtOpen ? RTLD_NOW : RTLD_LAZY) | RTLD_LOCAL)) {
    if (!handle_) error_ = dlerror();
}

void* LazyLibrary::Symbol(const char* name) const {
    return handle_ ? dlsym(handle_, name) : nullptr;
}

}  // namespace Platform
