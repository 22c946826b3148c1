#include "pym/base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace Pym {

int OpenRegularFile(const std::string& path) {
    // Non-blocking, so that opening a FIFO with no writer returns at once.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& out) {
    int fd = OpenRegularFile(path);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && static_cast<unsigned long long>(info.st_size) <= maxBytes;
    std::string bytes;
    if (ok) bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // shrunk while reading: keep what is there
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (!ok) return false;
    bytes.resize(done);
    out = std::move(bytes);
    return true;
}

bool ReadExactly(int fd, void* to, std::size_t count) {
    auto* at = static_cast<char*>(to);
    while (count > 0) {
        const ssize_t got = ::read(fd, at, count);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        at += got;
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

bool WriteExactly(int fd, const void* from, std::size_t count) {
    const auto* at = static_cast<const char*>(from);
    while (count > 0) {
        const ssize_t put = ::write(fd, at, count);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        at += put;
        count -= static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace Pym
