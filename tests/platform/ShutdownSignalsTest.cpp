#include "platform/ShutdownSignals.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <gtest/gtest.h>

namespace {

// Each case runs in a child process: the signals are real and would end the test runner.
TEST(ShutdownSignalsTest, TerminationSignalsBecomeCallsInsteadOfEndingTheProcess) {
    for (int sent : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        EXPECT_EXIT(
            {
                std::atomic<int> received{0};
                {
                    Platform::ShutdownSignals signals([&received](int s) { received = s; });
                    // A thread started afterwards must not take the signal either.
                    std::thread worker(
                        [] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); });
                    // Somebody else's SIGUSR2 must not stop the watcher.
                    kill(getpid(), SIGUSR2);
                    kill(getpid(), sent);
                    for (int i = 0; i < 500 && received == 0; ++i)
                        std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    worker.join();
                }  // the watcher stops cleanly
                std::exit(received == sent ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << sent;
    }
}

}  // namespace
