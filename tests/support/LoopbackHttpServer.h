#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace Testing {

// A one-connection-at-a-time HTTP server on 127.0.0.1 for tests of downloads. Every request
// gets the same scripted answer.
class LoopbackHttpServer {
public:
    enum class Behaviour {
        Serve,     // 200 with the body
        NotFound,  // 404
        Truncate,  // announces the whole body, sends half, closes
        Stall,     // accepts and says nothing until stopped
    };

    LoopbackHttpServer(Behaviour behaviour, std::string body);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::string Address(const std::string& path) const;
    int Requests() const { return requests_; }

private:
    void Run();

    Behaviour behaviour_;
    std::string body_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

}  // namespace Testing
