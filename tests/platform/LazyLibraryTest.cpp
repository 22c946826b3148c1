#include "platform/LazyLibrary.h"

#include <gtest/gtest.h>

TEST(LazyLibraryTest, GivesTheEntryPointsOfALibraryAndSaysWhyAMissingOneIsNotThere) {
    const Platform::LazyLibrary maths("libm.so.6");
    double (*cosine)(double) = nullptr;
    ASSERT_TRUE(maths.Resolve("cos", cosine));
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_FALSE(maths.Resolve("no_such_function", cosine));
    EXPECT_EQ(cosine, nullptr);

    const Platform::LazyLibrary missing("libondrel-no-such-library.so.1");
    EXPECT_FALSE(missing.Loaded());
    EXPECT_NE(missing.Error().find("libondrel-no-such-library.so.1"), std::string::npos);
    EXPECT_EQ(missing.Symbol("cos"), nullptr);
}
