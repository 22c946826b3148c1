#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "pym/gfx/EqualLines.h"

namespace Pym::Gfx {

// A picture in memory: a Cairo ARGB32 image surface (premultiplied alpha), owned.
class Image {
public:
    class InvalidImageException : public std::runtime_error {
    public:
        explicit InvalidImageException(const std::string& path)
            : std::runtime_error("Image " + path + " not found!!") {}
    };

    // Takes ownership of a surface; `vector` for one rendered from a vector picture.
    explicit Image(cairo_surface_t* surface, bool vector = false);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Loads a picture file: PNG, JPEG, BMP, GIF, TGA, or SVG. Vector pictures are rendered at
    // the requested size (their own size when either is below 1), bitmaps at their own size.
    // Throws InvalidImageException when the file cannot be read as a picture.
    static std::shared_ptr<Image> FromFile(const std::string& path, int width = -1,
                                           int height = -1);
    // As FromFile, for a picture already in memory; `path` names it in errors, tells an SVG by
    // its extension and is where an SVG's own references resolve.
    static std::shared_ptr<Image> FromBytes(const std::string& bytes, const std::string& path,
                                            int width = -1, int height = -1);
    // A transparent picture of the given size (at least 1 x 1).
    static std::shared_ptr<Image> Blank(int width, int height);

    // A picture over pixels owned elsewhere (premultiplied ARGB, `stride` bytes a row), which
    // must outlive it.
    static std::shared_ptr<Image> Over(std::uint32_t* pixels, int width, int height, int stride);

    // A copy drawn at the given size with a Cairo filter.
    std::shared_ptr<Image> Scaled(int width, int height, cairo_filter_t filter) const;

    // The same picture keeping its longest runs of equal rows and columns once (a frame's or
    // a panel's plain middle), or the picture itself when that saves little.
    static std::shared_ptr<Image> Compacted(const std::shared_ptr<Image>& image);

    // Paints the picture over (0, 0, Width(), Height()) of the context's user space, with
    // the filter and its edge pixels repeating outwards.
    void Paint(cairo_t* cr, cairo_filter_t filter, double alpha = 1.0) const;
    // One pixel (premultiplied ARGB), 0 outside the picture.
    std::uint32_t PixelAt(int x, int y) const;

    int Width() const;
    int Height() const;
    // The pixels kept: the whole picture unless it is compacted.
    cairo_surface_t* Surface() const { return surface_; }
    bool IsCompacted() const { return rows_.extra > 0 || columns_.extra > 0; }
    // True for pictures rendered from vectors, which are sharper rendered again than scaled.
    bool IsVector() const { return vector_; }

private:
    // Paints a compacted picture in pieces, each of its runs stretched from its one line.
    void PaintPieces(cairo_t* cr, double alpha) const;

    cairo_surface_t* surface_;
    bool vector_ = false;
    LineRun rows_, columns_;
};

using ImagePtr = std::shared_ptr<Image>;

// Whether a picture painted at (x, y) of the context's user space lands pixel for pixel: the
// context neither scales nor turns, and moves by whole pixels only.
bool LandsOnPixels(cairo_t* cr, double x = 0.0, double y = 0.0);

}  // namespace Pym::Gfx
