#include "platform/HttpFetcher.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/CurlLibrary.h"

namespace Platform {

namespace {

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
    const CurlLibrary* curlLibrary = CurlLibrary::Get();
    if (!curlLibrary) {
        lastError_ = "libcurl.so.4 cannot be loaded";
        return false;
    }
    const CurlLibrary& c = *curlLibrary;
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

    CURL* curl = c.easyInit();
    CURLcode result = CURLE_FAILED_INIT;
    long status = 0;
    if (curl) {
        c.easySetopt(curl, CURLOPT_URL, address.c_str());
        c.easySetopt(curl, CURLOPT_USERAGENT, "EInternetSession");
        c.easySetopt(curl, CURLOPT_WRITEFUNCTION, &WriteBody);
        c.easySetopt(curl, CURLOPT_WRITEDATA, &sink);
        c.easySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        c.easySetopt(curl, CURLOPT_MAXREDIRS, 5L);
        c.easySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        c.easySetopt(curl, CURLOPT_CONNECTTIMEOUT, options_.connectTimeoutSeconds);
        c.easySetopt(curl, CURLOPT_TIMEOUT, options_.totalTimeoutSeconds);
        c.easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
        result = c.easyPerform(curl);
        c.easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        c.easyCleanup(curl);
    }
    bool closed = std::fclose(sink.file) == 0;

    if (result != CURLE_OK || status < 200 || status >= 300 || !closed) {
        lastError_ = result != CURLE_OK ? std::string(c.easyStrerror(result))
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
