#pragma once

#include <curl/curl.h>

namespace Platform {

// libcurl, loaded the first time a download is asked for. Linked at start-up it would keep
// itself and its TLS, Kerberos and LDAP libraries resident (about 5 MB) in every run, while
// most skins never download anything.
class CurlLibrary {
public:
    // The loaded and initialised library, or null when libcurl.so.4 cannot be loaded.
    static const CurlLibrary* Get();

    CURL* (*easyInit)() = nullptr;
    CURLcode (*easySetopt)(CURL*, CURLoption, ...) = nullptr;
    CURLcode (*easyPerform)(CURL*) = nullptr;
    CURLcode (*easyGetinfo)(CURL*, CURLINFO, ...) = nullptr;
    void (*easyCleanup)(CURL*) = nullptr;
    const char* (*easyStrerror)(CURLcode) = nullptr;

private:
    CurlLibrary() = default;
    bool Load();
};

}  // namespace Platform
