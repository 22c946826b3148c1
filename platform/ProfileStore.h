#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

// The user's saved settings: "<config home>/<registry key>/profile.ini", sections as the
// application names them. Every read takes the file as it is on disk; every write replaces
// it atomically (temporary file, fsync, rename), so a crash mid-write leaves the old file
// whole. A missing or damaged file reads as defaults.
class ProfileStore {
public:
    ProfileStore();  // in the user's config home
    explicit ProfileStore(std::filesystem::path configHome);

    // $XDG_CONFIG_HOME, else ~/.config (the passwd entry's home without HOME); empty when there
    // is no home at all, and then writes fail.
    static std::filesystem::path DefaultConfigHome();

    // Until a key is set, reads give their defaults and writes fail.
    void SetRegistryKey(const std::string& key);
    const std::string& RegistryKey() const { return registryKey_; }
    void SetConfigHome(std::filesystem::path configHome) { configHome_ = std::move(configHome); }

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) const;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value);
    // Several entries of a section in one write. Writers, in this process or another, take
    // turns on an advisory lock beside the profile, so none loses another's change.
    using Entries = std::vector<std::pair<std::string, std::string>>;
    bool WriteProfileStrings(const std::string& section, const Entries& entries);

    std::filesystem::path FilePath() const;
    // The reason of the last failed write, for the caller's diagnostics.
    const std::string& LastError() const { return lastError_; }

private:
    std::filesystem::path configHome_;
    std::string registryKey_;
    std::string lastError_;
};

// The program's profile.
ProfileStore& Profile();

}  // namespace Platform
