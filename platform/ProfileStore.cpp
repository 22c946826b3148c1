#include "platform/ProfileStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/IniDocument.h"

namespace fs = std::filesystem;

namespace Platform {

namespace {

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::string();
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WriteAll(int fd, const std::string& text) {
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

ProfileStore::ProfileStore() : configHome_(DefaultConfigHome()) {}

ProfileStore::ProfileStore(fs::path configHome) : configHome_(std::move(configHome)) {}

fs::path ProfileStore::DefaultConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".config";
    return fs::path(".config");
}

void ProfileStore::SetRegistryKey(const std::string& key) {
    registryKey_ = key;
}

fs::path ProfileStore::FilePath() const {
    if (registryKey_.empty()) return fs::path();
    return configHome_ / registryKey_ / "profile.ini";
}

std::string ProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                           const std::string& defaultValue) const {
    if (registryKey_.empty()) return defaultValue;
    IniDocument document = IniDocument::Parse(ReadWholeFile(FilePath()));
    return document.Get(section, entry).value_or(defaultValue);
}

bool ProfileStore::WriteProfileString(const std::string& section, const std::string& entry,
                                      const std::string& value) {
    if (registryKey_.empty()) {
        lastError_ = "no registry key has been set";
        return false;
    }
    fs::path path = FilePath();
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
        lastError_ = "cannot create " + path.parent_path().string() + ": " + error.message();
        return false;
    }

    IniDocument document = IniDocument::Parse(ReadWholeFile(path));
    document.Set(section, entry, value);
    std::string text = document.Serialise();

    std::string temporary = path.string() + ".XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        lastError_ = "cannot write " + temporary + ": " + std::strerror(errno);
        return false;
    }
    bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    int savedErrno = errno;
    written = (::close(fd) == 0) && written;
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        lastError_ =
            "cannot write " + path.string() + ": " + std::strerror(written ? errno : savedErrno);
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself must reach the disk too.
    int directory = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    lastError_.clear();
    return true;
}

ProfileStore& Profile() {
    static ProfileStore* store = new ProfileStore();  // outlives every object that saves at exit
    return *store;
}

}  // namespace Platform
