#include "platform/CurlLibrary.h"

#include <dlfcn.h>

namespace Platform {

namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

}  // namespace

bool CurlLibrary::Load() {
    // Never closed: curl_global_cleanup is not safe while another thread may still use it.
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    CURLcode (*globalInit)(long) = nullptr;
    return Resolve(library, "curl_global_init", globalInit) &&
           Resolve(library, "curl_easy_init", easyInit) &&
           Resolve(library, "curl_easy_setopt", easySetopt) &&
           Resolve(library, "curl_easy_perform", easyPerform) &&
           Resolve(library, "curl_easy_getinfo", easyGetinfo) &&
           Resolve(library, "curl_easy_cleanup", easyCleanup) &&
           Resolve(library, "curl_easy_strerror", easyStrerror) &&
           globalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

const CurlLibrary* CurlLibrary::Get() {
    static const CurlLibrary* const loaded = [] {
        static CurlLibrary library;
        return library.Load() ? &library : nullptr;
    }();
    return loaded;
}

}  // namespace Platform
