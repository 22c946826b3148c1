#include "pym/gfx/Image.h"

#include <librsvg/rsvg.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace Pym::Gfx {

namespace {

// Decoding refuses pictures above this many pixels instead of exhausting memory.
constexpr long kMaxPixels = 64L * 1024 * 1024;

bool HasPngSignature(const std::string& head) {
    return head.size() >= 8 && std::memcmp(head.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
}

bool LooksLikeSvg(const std::string& path, const std::string& head) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    if (lower.ends_with(".svg") || lower.ends_with(".svgz")) return true;
    return head.find("<svg") != std::string::npos;
}

std::string ReadHead(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(512, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

cairo_surface_t* CheckedSurface(cairo_surface_t* surface) {
    if (surface && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) return surface;
    if (surface) cairo_surface_destroy(surface);
    return nullptr;
}

cairo_surface_t* DecodePng(const std::string& path) {
    cairo_surface_t* png = CheckedSurface(cairo_image_surface_create_from_png(path.c_str()));
    if (!png) return nullptr;
    if (cairo_image_surface_get_format(png) == CAIRO_FORMAT_ARGB32) return png;
    // Grey or RGB files come back in other formats: draw them into ARGB32.
    int width = cairo_image_surface_get_width(png);
    int height = cairo_image_surface_get_height(png);
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(png);
    return CheckedSurface(argb);
}

cairo_surface_t* DecodeWithStb(const std::string& path) {
    int width = 0, height = 0, channels = 0;
    if (!stbi_info(path.c_str(), &width, &height, &channels)) return nullptr;
    if (width < 1 || height < 1 || static_cast<long>(width) * height > kMaxPixels) return nullptr;
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!pixels) return nullptr;
    cairo_surface_t* surface =
        CheckedSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (!surface) {
        stbi_image_free(pixels);
        return nullptr;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        const stbi_uc* in = pixels + static_cast<std::size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, in += 4) {
            std::uint32_t a = in[3];
            std::uint32_t r = in[0] * a / 255, g = in[1] * a / 255, b = in[2] * a / 255;
            row[x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    cairo_surface_mark_dirty(surface);
    stbi_image_free(pixels);
    return surface;
}

cairo_surface_t* DecodeSvg(const std::string& path, int width, int height) {
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &error);
    if (!handle) {
        if (error) g_error_free(error);
        return nullptr;
    }
    if (width < 1 || height < 1) {
        gdouble w = 0, h = 0;
        if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h) || w < 1 || h < 1) {
            RsvgRectangle ink{}, logical{};
            rsvg_handle_get_geometry_for_element(handle, nullptr, &ink, &logical, nullptr);
            w = logical.width;
            h = logical.height;
        }
        width = std::max(1, static_cast<int>(std::lround(w)));
        height = std::max(1, static_cast<int>(std::lround(h)));
    }
    if (static_cast<long>(width) * height > kMaxPixels) {
        g_object_unref(handle);
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
    // The picture fills the requested box, as a bitmap drawn into it would.
    gdouble iw = 0, ih = 0;
    if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &iw, &ih) && iw > 0 && ih > 0) {
        cairo_scale(cr, width / iw, height / ih);
        viewport = RsvgRectangle{0, 0, iw, ih};
    }
    gboolean rendered = rsvg_handle_render_document(handle, cr, &viewport, &error);
    cairo_destroy(cr);
    g_object_unref(handle);
    if (error) g_error_free(error);
    if (!rendered) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return CheckedSurface(surface);
}

}  // namespace

Image::Image(cairo_surface_t* surface) : surface_(surface) {}

Image::~Image() {
    if (surface_) cairo_surface_destroy(surface_);
}

std::shared_ptr<Image> Image::FromFile(const std::string& path, int width, int height) {
    std::string head = ReadHead(path);
    if (head.empty()) throw InvalidImageException(path);
    cairo_surface_t* surface = nullptr;
    bool vector = false;
    if (HasPngSignature(head)) {
        surface = DecodePng(path);
    } else if (LooksLikeSvg(path, head)) {
        surface = DecodeSvg(path, width, height);
        vector = true;
    } else {
        surface = DecodeWithStb(path);
    }
    if (!surface) throw InvalidImageException(path);
    auto image = std::make_shared<Image>(surface);
    image->vector_ = vector;
    return image;
}

std::shared_ptr<Image> Image::Blank(int width, int height) {
    return std::make_shared<Image>(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(width, 1), std::max(height, 1)));
}

std::shared_ptr<Image> Image::Scaled(int width, int height, cairo_filter_t filter) const {
    auto scaled = Blank(width, height);
    cairo_t* cr = cairo_create(scaled->Surface());
    cairo_scale(cr, static_cast<double>(scaled->Width()) / Width(),
                static_cast<double>(scaled->Height()) / Height());
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), filter);
    // Edge pixels repeat outwards instead of fading to transparent at the borders.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_destroy(cr);
    return scaled;
}

int Image::Width() const {
    return cairo_image_surface_get_width(surface_);
}

int Image::Height() const {
    return cairo_image_surface_get_height(surface_);
}

}  // namespace Pym::Gfx
