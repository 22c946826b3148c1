#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Pixels.h"

using Platform::HostRect;

namespace {

TEST(ShapeRunsTest, RowsSplitIntoRunsOfPixelsAtOrAboveTheCutoff) {
    // 6 x 3 picture with a stride of 8 pixels; the padding must be ignored.
    const int width = 6, height = 3, stride = 8 * 4;
    std::vector<std::uint32_t> pixels(8 * height, 0xFF000000u);
    auto at = [&](int x, int y) -> std::uint32_t& { return pixels[y * 8 + x]; };
    at(0, 0) = 0x09FFFFFF;  // below the cutoff
    at(1, 0) = 0x0AFFFFFF;  // exactly the cutoff: inside
    at(3, 0) = 0x00000000;
    for (int x = 0; x < width; ++x) at(x, 1) = 0;  // an empty row
    at(5, 2) = 0x05000000;
    at(6, 2) = 0x00000000;  // padding, outside the picture
    std::vector<HostRect> runs = Platform::ShapeRuns(pixels.data(), width, height, stride, 10);
    const std::vector<HostRect> expected = {{1, 0, 2, 1}, {4, 0, 2, 1}, {0, 2, 5, 1}};
    EXPECT_EQ(runs, expected);
    EXPECT_TRUE(Platform::ShapeRuns(pixels.data(), width, height, stride, 256).empty());
}

}  // namespace
