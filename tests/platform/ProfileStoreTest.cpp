#include "platform/ProfileStore.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using Platform::ProfileStore;

namespace {

class ProfileStoreTest : public ::testing::Test {
protected:
    // The profile folder's files, sorted.
    std::vector<fs::path> Files() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(home.Path() / "Ondrel Metronome"))
            files.push_back(entry.path().filename());
        std::sort(files.begin(), files.end());
        return files;
    }

    Testing::TempDir home;
    ProfileStore store{home.Path()};
};

TEST_F(ProfileStoreTest, WithoutRegistryKeyReadsGiveDefaultsAndWritesFail) {
    EXPECT_EQ(store.GetProfileString("Metronome Settings", "Bpm", "114"), "114");
    EXPECT_FALSE(store.WriteProfileString("Metronome Settings", "Bpm", "120"));
    EXPECT_TRUE(fs::is_empty(home.Path()));
}

TEST_F(ProfileStoreTest, ValuesPersistInTheKeysFolderAcrossStores) {
    store.SetRegistryKey("Ondrel Metronome");
    EXPECT_EQ(store.FilePath(), home.Path() / "Ondrel Metronome" / "profile.ini");
    EXPECT_EQ(store.GetProfileString("Metronome Settings", "Bpm", "114"), "114");
    ASSERT_TRUE(store.WriteProfileString("Metronome Settings", "Bpm", "120"));
    ASSERT_TRUE(store.WriteProfileString("Metronome Settings", "Output", "Wood = Block\n♩"));
    ASSERT_TRUE(store.WriteProfileString("Other", "Bpm", "60"));

    ProfileStore again(home.Path());
    again.SetRegistryKey("Ondrel Metronome");
    EXPECT_EQ(again.GetProfileString("Metronome Settings", "Bpm", "114"), "120");
    EXPECT_EQ(again.GetProfileString("Metronome Settings", "Output", ""), "Wood = Block\n♩");
    EXPECT_EQ(again.GetProfileString("Other", "Bpm", ""), "60");
    // Nothing but the profile and the writers' lock is left in the folder.
    EXPECT_EQ(Files(), (std::vector<fs::path>{"profile.ini", "profile.ini.lock"}));
}

TEST_F(ProfileStoreTest, AWriteRemovesWhatAKilledWriteLeftBehind) {
    store.SetRegistryKey("Ondrel Metronome");
    ASSERT_TRUE(store.WriteProfileString("Metronome Settings", "Bpm", "100"));
    home.Write("Ondrel Metronome/profile.ini.x7Qz2a", "[Metronome Settings]\nBp");
    home.Write("Ondrel Metronome/profile.ini.keep", "not ours");
    ASSERT_TRUE(store.WriteProfileString("Metronome Settings", "Bpm", "110"));
    EXPECT_EQ(Files(),
              (std::vector<fs::path>{"profile.ini", "profile.ini.keep", "profile.ini.lock"}));
}

TEST_F(ProfileStoreTest, ALinkedProfileIsWrittenThroughAndABomIsRead) {
    store.SetRegistryKey("Ondrel Metronome");
    const fs::path real =
        home.Write("dotfiles/profile.ini", "\xEF\xBB\xBF[Metronome Settings]\nBpm=90\n");
    fs::create_directories(store.FilePath().parent_path());
    fs::create_symlink(real, store.FilePath());
    EXPECT_EQ(store.GetProfileString("Metronome Settings", "Bpm", "114"), "90");
    ASSERT_TRUE(store.WriteProfileStrings("Metronome Settings", {{"Accent", "ACCENT: 3"}}));
    EXPECT_TRUE(fs::is_symlink(store.FilePath()));
    ProfileStore direct(home.Path() / "dotfiles");
    direct.SetRegistryKey(".");
    EXPECT_EQ(direct.GetProfileString("Metronome Settings", "Bpm", ""), "90");
    EXPECT_EQ(direct.GetProfileString("Metronome Settings", "Accent", ""), "ACCENT: 3");
}

TEST(ProfileHomeTest, WithoutHomeTheProfileGoesToThePasswdHome) {
    const char* home = getenv("HOME");
    const char* xdg = getenv("XDG_CONFIG_HOME");
    const std::string savedHome = home ? home : "", savedXdg = xdg ? xdg : "";
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    const fs::path chosen = ProfileStore::DefaultConfigHome();
    if (home) setenv("HOME", savedHome.c_str(), 1);
    if (xdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(chosen, fs::path(entry->pw_dir) / ".config");
}

TEST_F(ProfileStoreTest, CorruptFileReadsAsDefaultsAndIsRepairedByTheNextWrite) {
    store.SetRegistryKey("Ondrel Metronome");
    fs::create_directories(store.FilePath().parent_path());
    std::string junk(4096, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131) % 256);
    Testing::TempDir scratch;
    fs::copy_file(scratch.Write("junk", junk), store.FilePath());

    EXPECT_EQ(store.GetProfileString("Metronome Settings", "Bpm", "114"), "114");
    ASSERT_TRUE(store.WriteProfileString("Metronome Settings", "Bpm", "90"));
    EXPECT_EQ(store.GetProfileString("Metronome Settings", "Bpm", "114"), "90");
}

TEST_F(ProfileStoreTest, UnwritableFolderFailsTheWriteAndKeepsTheOldFile) {
    if (geteuid() == 0) {
        // Root writes through permissions; an unwritable place is a path below a file.
        store.SetConfigHome(home.Write("not-a-folder", "x"));
        store.SetRegistryKey("Ondrel Metronome");
        EXPECT_FALSE(store.WriteProfileString("Metronome Settings", "Bpm", "120"));
        EXPECT_FALSE(store.LastError().empty());
        EXPECT_EQ(store.GetProfileString("Metronome Settings", "Bpm", "114"), "114");
        return;
    }
    store.SetRegistryKey("Ondrel Metronome");
    ASSERT_TRUE(store.WriteProfileString("Metronome Settings", "Bpm", "100"));
    fs::permissions(store.FilePath().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(store.WriteProfileString("Metronome Settings", "Bpm", "120"));
    EXPECT_EQ(store.GetProfileString("Metronome Settings", "Bpm", "114"), "100");
}

TEST_F(ProfileStoreTest, ConcurrentWritersNeverLeaveAHalfWrittenFile) {
    store.SetRegistryKey("Ondrel Metronome");
    ASSERT_TRUE(store.WriteProfileString("Metronome Settings", "Bpm", "100"));
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w) {
        writers.emplace_back([this, w] {
            ProfileStore mine(home.Path());
            mine.SetRegistryKey("Ondrel Metronome");
            for (int i = 0; i < 25; ++i)
                mine.WriteProfileString("Metronome Settings", "Writer" + std::to_string(w),
                                        std::string(500, static_cast<char>('a' + w)));
        });
    }
    for (int i = 0; i < 200; ++i) {
        // Every read sees a whole file: the first value is always there.
        EXPECT_EQ(store.GetProfileString("Metronome Settings", "Bpm", "missing"), "100");
    }
    for (auto& writer : writers) writer.join();
    // Writers take turns: none loses another's key.
    for (int w = 0; w < 4; ++w)
        EXPECT_EQ(store.GetProfileString("Metronome Settings", "Writer" + std::to_string(w), ""),
                  std::string(500, static_cast<char>('a' + w)));
}

}  // namespace
