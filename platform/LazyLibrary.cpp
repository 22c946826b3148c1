#include "platform/LazyLibrary.h"

#include <dlfcn.h>

namespace Platform {

LazyLibrary::LazyLibrary(const char* soname) : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
    if (!handle_) error_ = dlerror();
}

void* LazyLibrary::Symbol(const char* name) const {
    return handle_ ? dlsym(handle_, name) : nullptr;
}

}  // namespace Platform
