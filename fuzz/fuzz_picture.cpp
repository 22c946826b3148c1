// The picture loaders: PNG through Cairo, SVG through librsvg, the rest through stb_image.
#include <cstdint>
#include <string>

#include "pym/gfx/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        // No extension: the format is told from the content, as for a misnamed file.
        Pym::Gfx::Image::FromBytes(bytes, "/nonexistent/fuzz");
        Pym::Gfx::Image::FromBytes(bytes, "/nonexistent/fuzz.svg", 64, 48);
    } catch (const Pym::Gfx::Image::InvalidImageException&) {
    }
    return 0;
}
