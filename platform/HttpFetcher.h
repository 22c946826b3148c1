#pragma once

#include <string>

namespace Platform {

// Downloads one address to a file. The body goes to a temporary file beside the destination
// and is renamed into place only when the transfer completed with a success status, so a
// failed or interrupted download never leaves a file that looks whole.
class HttpFetcher {
public:
    struct Options {
        long connectTimeoutSeconds = 5;
        long totalTimeoutSeconds = 20;
        long maximumBytes = 32L * 1024 * 1024;  // pictures, not films
    };

    HttpFetcher();
    explicit HttpFetcher(Options options);

    bool Fetch(const std::string& address, const std::string& destination);
    const std::string& LastError() const { return lastError_; }

private:
    Options options_;
    std::string lastError_;
};

}  // namespace Platform
