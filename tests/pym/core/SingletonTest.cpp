#include "pym/base/Singleton.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "pym/core/CoreSingletons.h"
#include "pym/core/DocMap.h"

namespace {

struct Probe {
    int value = 7;
};

struct First {
    ~First() { std::fprintf(stderr, "first destroyed\n"); }
};
struct Second {
    ~Second() { std::fprintf(stderr, "second destroyed\n"); }
};
// Creates Second while it is being constructed, so Second finishes first.
struct Outer {
    Outer() { Pym::Singleton<Second>::Instance(); }
    ~Outer() {
        // Second must still be there while Outer goes.
        std::fprintf(stderr, Pym::Singleton<Second>::IfAlive() ? "outer sees second\n"
                                                               : "outer lost second\n");
    }
};

TEST(SingletonTest, SameObjectUntilDestroyedThenDeadReference) {
    Probe& first = Pym::Singleton<Probe>::Instance();
    first.value = 11;
    EXPECT_EQ(&Pym::Singleton<Probe>::Instance(), &first);
    EXPECT_EQ(Pym::Singleton<Probe>::IfAlive(), &first);

    Pym::Singleton<Probe>::Destroy();
    EXPECT_EQ(Pym::Singleton<Probe>::IfAlive(), nullptr);
    try {
        Pym::Singleton<Probe>::Instance();
        FAIL() << "a destroyed singleton came back";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Dead Reference Detected");
    }
}

TEST(SingletonTest, ExitDestroysInReverseOrderOfCreation) {
    EXPECT_EXIT(
        {
            Pym::Singleton<First>::Instance();
            Pym::Singleton<Outer>::Instance();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "outer sees second\nsecond destroyed\nfirst destroyed\n");
}

TEST(SingletonTest, FrameworkCountersStartWhereObjectsExpectThem) {
    EXPECT_EXIT(
        {
            bool ok = Pym::DllIdFactoryInstance().NextId() == 1 &&
                      Pym::DllIdFactoryInstance().NextId() == 2 &&
                      Pym::DllSignalFactoryInstance().NextId() == 2 &&
                      &Pym::DllPymInitInstance() == &Pym::DllPymInitInstance() &&
                      Pym::DllPymInitInstance().GetName() == "NULL";
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
