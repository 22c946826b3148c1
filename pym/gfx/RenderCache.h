#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "pym/gfx/Image.h"

namespace Pym::Gfx {

// Vector pictures rendered before, kept as pixels in a folder, so that a start whose skin and
// window size have not changed copies its pictures instead of rendering them (and need not
// open the renderer at all). A picture is known by its bytes, the place its references
// resolve from and the size asked for; an entry that does not match to the last byte, or
// cannot be read, is a miss and is rendered again. Without a folder nothing is kept.
class RenderCache {
public:
    struct Key {
        std::uint64_t hash = 0;
        std::uint64_t length = 0;
        std::string path;
    };

    // Set once, before pictures load. Trims the folder when it has grown past its bound. A run
    // writes a few megabytes at most: a start's pictures come first and are the ones worth
    // keeping; a window dragged through many sizes would otherwise write an entry for each.
    static void SetFolder(const std::filesystem::path& folder);
    static bool Enabled();

    // `salt` names the renderer's version: a new renderer draws anew.
    static Key KeyOf(const std::string& bytes, const std::string& path, const std::string& salt);

    // Whether these bytes were parsed as a picture before.
    static bool KnownGood(const Key& key);
    static void MarkGood(const Key& key);

    // The rendering asked for as width x height (0 x 0 for the picture's own size); null on a
    // miss.
    static ImagePtr Find(const Key& key, int width, int height);
    static void Store(const Key& key, int width, int height, const Image& image);
};

}  // namespace Pym::Gfx
