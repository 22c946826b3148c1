#pragma once

#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pym/base/Trace.h"
#include "pym/core/DocMap.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/TempDir.h"

namespace Testing {

// A skin folder of the test's own: documents written into a temporary start directory, whose
// "lib/PYM/XML" is the library root, and every trace text collected.
class SkinFixture : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ONDREL_LIB", dir.Path().c_str(), 1);
        dir.Write("lib/PYM/XML/.keep", "");
        cwd = std::make_unique<ScopedCurrentDirectory>(dir.Path());
        Pym::DllDocMapInstance().ResetSearchPath();
        TestShell().opened.clear();
    }
    void TearDown() override {
        cwd.reset();
        unsetenv("ONDREL_LIB");
        Pym::DllDocMapInstance().ResetSearchPath();
    }

    std::string Write(const std::string& relative, const std::string& content) {
        return dir.Write(relative, content).string();
    }
    // A library document, written under the library root.
    std::string WriteLibrary(const std::string& relative, const std::string& content) {
        return dir.Write("lib/PYM/XML/" + relative, content).string();
    }
    bool Traced(const std::string& text) const {
        for (const std::string& t : traces)
            if (t == text) return true;
        return false;
    }
    bool TracedContaining(const std::string& part) const {
        for (const std::string& t : traces)
            if (t.find(part) != std::string::npos) return true;
        return false;
    }

    TempDir dir;
    std::vector<std::string> traces;
    Pym::ScopedTraceHook hook{[this](const std::string& text) { traces.push_back(text); }};

private:
    std::unique_ptr<ScopedCurrentDirectory> cwd;
};

}  // namespace Testing
