#include "platform/HttpFetcher.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <mutex>

namespace Platform {

namespace {

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Sink {
    std::FILE* file = nullptr;
    long written = 0;
    long limit = 0;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    size_t bytes = size * count;
    if (sink->written + static_cast<long>(bytes) > sink->limit) return 0;  // aborts the transfer
    if (std::fwrite(data, 1, bytes, sink->file) != bytes) return 0;
    sink->written += static_cast<long>(bytes);
    return bytes;
}

}  // namespace

HttpFetcher::HttpFetcher() : HttpFetcher(Options{}) {}

HttpFetcher::HttpFetcher(Options options) : options_(options) {}

bool HttpFetcher::Fetch(const std::string& address, const std::string& destination) {
    InitialiseCurlOnce();
    std::error_code error;
    std::filesystem::path target(destination);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);

    std::string temporary = destination + ".part-XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        lastError_ = "cannot create " + temporary;
        return false;
    }
    Sink sink{::fdopen(fd, "wb"), 0, options_.maximumBytes};
    if (!sink.file) {
        ::close(fd);
        ::unlink(temporary.c_str());
        lastError_ = "cannot write " + temporary;
        return false;
    }

    CURL* curl = curl_easy_init();
    CURLcode result = CURLE_FAILED_INIT;
    long status = 0;
    if (curl) {
        curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "EInternetSession");
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, options_.connectTimeoutSeconds);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, options_.totalTimeoutSeconds);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        result = curl_easy_perform(curl);
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_cleanup(curl);
    }
    bool closed = std::fclose(sink.file) == 0;

    if (result != CURLE_OK || status < 200 || status >= 300 || !closed) {
        lastError_ = result != CURLE_OK ? std::string(curl_easy_strerror(result))
                                        : "HTTP status " + std::to_string(status);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), destination.c_str()) != 0) {
        lastError_ = "cannot write " + destination;
        ::unlink(temporary.c_str());
        return false;
    }
    lastError_.clear();
    return true;
}

}  // namespace Platform
