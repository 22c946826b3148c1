#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Shell.h"

namespace Testing {

// Records what the program would have opened; opens nothing.
class RecordingShell : public Platform::ShellOpener {
public:
    bool Open(const std::string& file, const std::string& verb) override {
        opened.emplace_back(file, verb);
        return true;
    }
    std::vector<std::pair<std::string, std::string>> opened;
};

// The shell double every test process runs with (installed by the test main).
RecordingShell& TestShell();

}  // namespace Testing
