// Every test binary runs with a recording shell, so nothing ever opens an editor, and with its
// own config home, so no test reads or writes the user's profile.
#include <stdlib.h>

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/TempDir.h"

namespace Testing {

RecordingShell& TestShell() {
    static RecordingShell* shell = new RecordingShell();
    return *shell;
}

}  // namespace Testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Platform::SetShell(&Testing::TestShell());
    Testing::TempDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
    Platform::Profile().SetConfigHome(configHome.Path());
    return RUN_ALL_TESTS();
}
