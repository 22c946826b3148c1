#include "tests/support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace Testing {

LoopbackHttpServer::LoopbackHttpServer(Behaviour behaviour, std::string body)
    : behaviour_(behaviour), body_(std::move(body)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof(address);
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 4) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on loopback");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

std::string LoopbackHttpServer::Address(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackHttpServer::Run() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0) continue;
        int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        ++requests_;
        char request[4096];
        (void)::recv(client, request, sizeof(request), 0);
        std::string answer;
        switch (behaviour_) {
            case Behaviour::Serve:
                answer = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body_.size()) +
                         "\r\nConnection: close\r\n\r\n" + body_;
                break;
            case Behaviour::NotFound:
                answer =
                    "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\n"
                    "not found";
                break;
            case Behaviour::Truncate:
                answer = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body_.size()) +
                         "\r\nConnection: close\r\n\r\n" + body_.substr(0, body_.size() / 2);
                break;
            case Behaviour::Stall:
                while (!stopping_) ::usleep(10000);
                break;
        }
        if (!answer.empty()) (void)::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
        ::close(client);
    }
}

}  // namespace Testing
