#include "platform/HttpFetcher.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using Testing::LoopbackHttpServer;

namespace {

class HttpFetcherTest : public ::testing::Test {
protected:
    // Only what the destination folder holds besides nothing: no partial files either.
    std::size_t FilesIn(const fs::path& folder) {
        std::size_t count = 0;
        for (auto it = fs::directory_iterator(folder); it != fs::directory_iterator(); ++it)
            ++count;
        return count;
    }
    Testing::TempDir dir;
    Platform::HttpFetcher fetcher{{1, 2, 1024 * 1024}};
};

TEST_F(HttpFetcherTest, DownloadLandsWholeInTheDestination) {
    std::string body(100000, 'x');
    body[5] = '\0';  // bytes, not text
    LoopbackHttpServer server(LoopbackHttpServer::Behaviour::Serve, body);
    fs::path target = dir.Path() / "cache" / "picture.png";
    ASSERT_TRUE(fetcher.Fetch(server.Address("/picture.png"), target.string()))
        << fetcher.LastError();
    EXPECT_EQ(Testing::ReadFile(target), body);
    EXPECT_EQ(FilesIn(target.parent_path()), 1u);
}

TEST_F(HttpFetcherTest, FailedTransfersLeaveNoFile) {
    fs::path target = dir.Path() / "picture.png";
    {
        LoopbackHttpServer server(LoopbackHttpServer::Behaviour::NotFound, "");
        EXPECT_FALSE(fetcher.Fetch(server.Address("/missing.png"), target.string()));
        EXPECT_NE(fetcher.LastError().find("404"), std::string::npos);
    }
    {
        LoopbackHttpServer server(LoopbackHttpServer::Behaviour::Truncate, std::string(5000, 'y'));
        EXPECT_FALSE(fetcher.Fetch(server.Address("/cut.png"), target.string()));
    }
    {
        LoopbackHttpServer server(LoopbackHttpServer::Behaviour::Stall, "");
        EXPECT_FALSE(fetcher.Fetch(server.Address("/slow.png"), target.string()));
    }
    {
        LoopbackHttpServer server(LoopbackHttpServer::Behaviour::Serve, std::string(2 << 20, 'z'));
        EXPECT_FALSE(fetcher.Fetch(server.Address("/huge.png"), target.string()));
    }
    EXPECT_FALSE(fetcher.Fetch("ftp://127.0.0.1/file.png", target.string()));
    EXPECT_EQ(FilesIn(dir.Path()), 0u);
}

}  // namespace
