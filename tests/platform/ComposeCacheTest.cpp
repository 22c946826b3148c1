#include "platform/ComposeCache.h"

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Sets or clears a variable for a scope, restoring what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ComposeCacheTest, GivesLibX11AFolderOnlyWhereTheUserChoseNone) {
    Testing::TempDir home;
    ScopedVariable homeVariable("HOME", home.Path().c_str());
    ScopedVariable xdg("XDG_CACHE_HOME", nullptr);
    ScopedVariable cache("XCOMPOSECACHE", nullptr);

    const fs::path expected = home.Path() / ".cache/ondrel-metronome/compose";
    EXPECT_EQ(Platform::ComposeCache::UseProgramFolder("ondrel-metronome"), expected.string());
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_STREQ(getenv("XCOMPOSECACHE"), expected.c_str());

    // A folder already chosen, by the variable or by ~/.compose-cache, is left alone.
    setenv("XCOMPOSECACHE", "/elsewhere", 1);
    EXPECT_EQ(Platform::ComposeCache::UseProgramFolder("ondrel-metronome"), "");
    EXPECT_STREQ(getenv("XCOMPOSECACHE"), "/elsewhere");
    unsetenv("XCOMPOSECACHE");
    fs::create_directory(home.Path() / ".compose-cache");
    EXPECT_EQ(Platform::ComposeCache::UseProgramFolder("ondrel-metronome"), "");
    EXPECT_EQ(getenv("XCOMPOSECACHE"), nullptr);
}

}  // namespace
