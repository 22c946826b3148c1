// The SDL host on the rig's virtual display: a shaped window shows its picture, is cut where
// the picture is nearly transparent, and reports clicks, keys, ticks and posted work.
#include "platform/SdlHost.h"

#include <poll.h>
#include <stb_image.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Screenshot.h"

#include "tests/support/TempDir.h"

using Platform::HostEvent;

namespace {

using Testing::Screenshot;

struct Recorder : Platform::HostListener {
    void OnHostEvent(Platform::HostWindow&, const HostEvent& event) override {
        events.push_back(event);
    }
    int Count(HostEvent::Type type) const {
        int n = 0;
        for (const auto& e : events) n += e.type == type;
        return n;
    }
    std::vector<HostEvent> events;
};

void RunFor(Platform::HostSystem& host, int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    host.RunLoop([end] { return std::chrono::steady_clock::now() < end; });
}

TEST(SdlHostTest, ShapedWindowShowsItsPictureAndReportsInput) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "start the rig: scripts/rig start";
    Platform::SdlHostSystem host;
    const int x = 60, y = 40, width = 200, height = 120;
    auto window = host.CreateWindow(Platform::WindowKind::Application, nullptr,
                                    {x, y, width, height}, "host test", true);
    ASSERT_TRUE(window) << host.LastError();
    Recorder recorder;
    window->SetListener(&recorder);

    // Orange everywhere; the top-left 20 x 20 corner at alpha 9 (cut), the top-right one at
    // alpha 10 (kept).
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(width) * height, 0xFFFF8A3Du);
    for (int row = 0; row < 20; ++row)
        for (int column = 0; column < 20; ++column) {
            picture[row * width + column] = 0x09FF8A3Du;
            picture[row * width + width - 1 - column] = 0x0AFF8A3Du;
        }
    window->SetShape(picture.data(), width, height, width * 4, 10);
    window->Show();
    RunFor(host, 300);
    window->Focus();
    window->Present(picture.data(), width, height, width * 4, {0, 0, width, height});
    RunFor(host, 300);
    window->Present(picture.data(), width, height, width * 4, {0, 0, width, height});
    RunFor(host, 100);

    Testing::TempDir dir;
    Screenshot shot((dir.Path() / "screen.png").string());
    ASSERT_TRUE(shot.Ok());
    EXPECT_EQ(shot.At(x + 100, y + 60), 0xFF8A3Du);
    EXPECT_EQ(shot.At(x + width - 5, y + 5), 0xFF8A3Du);  // alpha 10 stays
    EXPECT_NE(shot.At(x + 5, y + 5), 0xFF8A3Du);          // alpha 9 is cut away
    EXPECT_EQ(shot.At(x + width + 5, y + 60), 0x000000u);

    // Input through the X server, as a user's would arrive.
    std::string keys =
        "xdotool mousemove " + std::to_string(x + 30) + " " + std::to_string(y + 50) +
        " click 1 sleep 0.1 key BackSpace Left ctrl+c Return sleep 0.1 type --delay 300 'aé'";
    // The events are taken for as long as xdotool types (a loaded machine makes it slow to map
    // the accented key), and a little longer.
    std::atomic<bool> typed{false};
    std::thread user([&keys, &typed] {
        (void)system(keys.c_str());
        typed = true;
    });
    int posted = 0;
    std::thread other([&host, &posted] { host.Post([&posted] { ++posted; }); });
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    host.RunLoop([&] { return !typed && std::chrono::steady_clock::now() < limit; });
    RunFor(host, 500);
    user.join();
    other.join();

    EXPECT_EQ(posted, 1);
    EXPECT_GE(recorder.Count(HostEvent::Type::Timer), 50);
    ASSERT_EQ(recorder.Count(HostEvent::Type::LeftDown), 1);
    for (const auto& e : recorder.events)
        if (e.type == HostEvent::Type::LeftDown || e.type == HostEvent::Type::LeftUp) {
            EXPECT_EQ(e.x, 30);
            EXPECT_EQ(e.y, 50);
        }
    std::vector<std::uint32_t> keyCodes;
    for (const auto& e : recorder.events)
        if (e.type == HostEvent::Type::Character || e.type == HostEvent::Type::KeyDown)
            keyCodes.push_back(e.code);
    const std::vector<std::uint32_t> expected = {Platform::KeyBackspace | Platform::kKeyDownBit,
                                                 8,
                                                 Platform::KeyLeft | Platform::kKeyDownBit,
                                                 3,
                                                 13,
                                                 'a',
                                                 0xE9};
    EXPECT_EQ(keyCodes, expected);
}

TEST(SdlHostTest, LoopTicksOnlyOnDemandAndWakesForWatchedDescriptors) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "start the rig: scripts/rig start";
    Platform::SdlHostSystem host;
    auto window = host.CreateWindow(Platform::WindowKind::Application, nullptr, {10, 10, 40, 30},
                                    "ticks", false);
    ASSERT_TRUE(window) << host.LastError();
    Recorder recorder;
    window->SetListener(&recorder);
    window->Show();
    int demand = -1;
    host.SetTickDemand([&demand] { return demand; });
    host.RunFor(300);
    EXPECT_EQ(recorder.Count(HostEvent::Type::Timer), 0);
    demand = 0;
    host.RunFor(300);
    EXPECT_GE(recorder.Count(HostEvent::Type::Timer), 10);

    demand = -1;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int woken = 0;
    const int watch = host.Watch({{fds[0], POLLIN}}, [&] {
        char byte;
        woken += static_cast<int>(read(fds[0], &byte, 1));
    });
    ASSERT_NE(watch, 0);
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    host.RunLoop([&woken] { return woken == 0; });
    EXPECT_EQ(woken, 1);
    host.Unwatch(watch);
    ASSERT_EQ(write(fds[1], "y", 1), 1);
    host.RunFor(100);
    EXPECT_EQ(woken, 1);
    close(fds[0]);
    close(fds[1]);
}

TEST(SdlHostTest, ClipboardCarriesUtf8Text) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "start the rig: scripts/rig start";
    Platform::SdlHostSystem host;
    auto window = host.CreateWindow(Platform::WindowKind::Application, nullptr, {0, 0, 50, 50},
                                    "clipboard", false);
    ASSERT_TRUE(window);
    ASSERT_TRUE(host.SetClipboardText("Tempo ♩ = 120"));
    std::string text;
    ASSERT_TRUE(host.GetClipboardText(text));
    EXPECT_EQ(text, "Tempo ♩ = 120");
}

}  // namespace
