#pragma once

#include <stb_image.h>
#include <stdlib.h>

#include <cstdint>
#include <string>

namespace Testing {

// A screenshot of the rig display's root window, saved at `path`; pixels read as 0xRRGGBB.
class Screenshot {
public:
    explicit Screenshot(const std::string& path) {
        std::string command = "import -window root '" + path + "' 2>/dev/null";
        if (system(command.c_str()) == 0)
            pixels_ = stbi_load(path.c_str(), &width_, &height_, nullptr, 3);
    }
    ~Screenshot() { stbi_image_free(pixels_); }
    Screenshot(const Screenshot&) = delete;
    Screenshot& operator=(const Screenshot&) = delete;

    bool Ok() const { return pixels_ != nullptr; }
    std::uint32_t At(int x, int y) const {
        const unsigned char* p = pixels_ + (static_cast<std::size_t>(y) * width_ + x) * 3;
        return static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
    }

private:
    unsigned char* pixels_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace Testing
