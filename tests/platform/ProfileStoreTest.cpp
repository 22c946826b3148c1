#include "platform/ProfileStore.h"

#include <sys/stat.h>
#include <unistd.h>

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
    // Nothing but the profile itself is left in the folder.
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(home.Path() / "Ondrel Metronome"))
        files.push_back(entry.path().filename());
    EXPECT_EQ(files, std::vector<fs::path>{"profile.ini"});
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
}

}  // namespace
