#include "platform/CurlLibrary.h"

#include "platform/LazyLibrary.h"

namespace Platform {

bool CurlLibrary::Load() {
    // Never closed: curl_global_cleanup is not safe while another thread may still use it.
    static const LazyLibrary library("libcurl.so.4");
    CURLcode (*globalInit)(long) = nullptr;
    return library.Resolve("curl_global_init", globalInit) &&
           library.Resolve("curl_easy_init", easyInit) &&
           library.Resolve("curl_easy_setopt", easySetopt) &&
           library.Resolve("curl_easy_perform", easyPerform) &&
           library.Resolve("curl_easy_getinfo", easyGetinfo) &&
           library.Resolve("curl_easy_cleanup", easyCleanup) &&
           library.Resolve("curl_easy_strerror", easyStrerror) &&
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
