#include "platform/ProfileStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

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

// Held while it lives: an exclusive advisory lock on the file, which every writer of the
// profile takes, in this process or another.
class WriterLock {
public:
    explicit WriterLock(const std::string& lockFile)
        : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~WriterLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

// The file a write replaces: a profile that is a symbolic link is written through to the
// file it names, so the link stays.
fs::path WriteTarget(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) return path;
    fs::path target = fs::weakly_canonical(path, error);
    return error ? path : target;
}

// Temporary files of our own naming ("profile.ini.XXXXXX") that a writer killed mid-write
// left behind. Under the writers' lock no other write is under way, so every one is stale.
void RemoveStaleTemporaries(const fs::path& target) {
    const std::string prefix = target.filename().string() + ".";
    constexpr std::size_t kSuffixLength = 6;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(target.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + kSuffixLength || !name.starts_with(prefix)) continue;
        if (!entry.is_regular_file(error)) continue;
        fs::remove(entry.path(), error);
    }
}

// The home folder of the passwd entry, for a session without HOME.
fs::path PasswdHome() {
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir || found->pw_dir[0] != '/')
        return fs::path();
    return found->pw_dir;
}

}  // namespace

ProfileStore::ProfileStore() : configHome_(DefaultConfigHome()) {}

ProfileStore::ProfileStore(fs::path configHome) : configHome_(std::move(configHome)) {}

fs::path ProfileStore::DefaultConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".config";
    // Never a relative folder: that would put the profile wherever the program was started.
    fs::path home = PasswdHome();
    return home.empty() ? fs::path() : home / ".config";
}

void ProfileStore::SetRegistryKey(const std::string& key) {
    registryKey_ = key;
}

fs::path ProfileStore::FilePath() const {
    if (registryKey_.empty() || configHome_.empty()) return fs::path();
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
    return WriteProfileStrings(section, {{entry, value}});
}

bool ProfileStore::WriteProfileStrings(const std::string& section, const Entries& entries) {
    if (registryKey_.empty()) {
        lastError_ = "no registry key has been set";
        return false;
    }
    if (configHome_.empty()) {
        lastError_ = "there is no home folder to keep the profile in";
        return false;
    }
    const fs::path path = FilePath();
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
        lastError_ = "cannot create " + path.parent_path().string() + ": " + error.message();
        return false;
    }
    // Each write reads the file, changes it and replaces it: two writers at once (two instances
    // closed together) would each lose the other's change.
    WriterLock lock(path.string() + ".lock");
    if (!lock.Held()) {
        lastError_ = "cannot lock " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    const fs::path target = WriteTarget(path);
    RemoveStaleTemporaries(target);

    IniDocument document = IniDocument::Parse(ReadWholeFile(target));
    for (const auto& [entry, value] : entries) document.Set(section, entry, value);
    std::string text = document.Serialise();

    std::string temporary = target.string() + ".XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        lastError_ = "cannot write " + temporary + ": " + std::strerror(errno);
        return false;
    }
    bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    int savedErrno = errno;
    written = (::close(fd) == 0) && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        lastError_ =
            "cannot write " + target.string() + ": " + std::strerror(written ? errno : savedErrno);
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself must reach the disk too.
    int directory = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
