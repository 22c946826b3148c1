#include "pym/gfx/PictureFile.h"

#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "pym/base/RegularFile.h"
#include "pym/gfx/SvgLibrary.h"

namespace Pym::Gfx {

namespace {

// Every format refuses pictures above this many pixels instead of exhausting memory.
constexpr long kMaxPixels = 64L * 1024 * 1024;

// Picture files beyond this size are not skin pictures.
constexpr std::size_t kMaxFileBytes = 64u << 20;

bool HasPngSignature(const std::string& bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
}

bool LooksLikeSvg(const std::string& name, const std::string& bytes) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    if (lower.ends_with(".svg") || lower.ends_with(".svgz")) return true;
    return bytes.substr(0, 512).find("<svg") != std::string::npos;
}

bool WithinPixelLimit(long width, long height) {
    return width >= 1 && height >= 1 && width <= kMaxPixels / height;
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
    };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

cairo_surface_t* CheckedSurface(cairo_surface_t* surface) {
    if (surface && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) return surface;
    if (surface) cairo_surface_destroy(surface);
    return nullptr;
}

struct ByteReader {
    const std::string& bytes;
    std::size_t at = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* reader = static_cast<ByteReader*>(closure);
    if (reader->bytes.size() - reader->at < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->at, length);
    reader->at += length;
    return CAIRO_STATUS_SUCCESS;
}

// Whether every chunk the file declares lies inside it. The decoder allocates what a chunk's
// length says before reading it: a few hundred bytes claiming a 2 GB text chunk would cost
// gigabytes and seconds, for a file that is broken anyway.
bool PngChunksFit(const std::string& bytes) {
    std::size_t at = 8;  // past the signature
    while (at + 12 <= bytes.size()) {
        const auto length = static_cast<std::size_t>(BigEndian32(bytes, at));
        if (length > bytes.size() - at - 12) return false;
        if (bytes.compare(at + 4, 4, "IEND") == 0) return true;
        at += 12 + length;
    }
    return true;  // a cut file: the decoder reports it
}

cairo_surface_t* DecodePng(const std::string& bytes) {
    // The header's size is checked before the decoder allocates for it.
    if (bytes.size() < 24 || bytes.compare(12, 4, "IHDR") != 0 ||
        !WithinPixelLimit(BigEndian32(bytes, 16), BigEndian32(bytes, 20)) || !PngChunksFit(bytes))
        return nullptr;
    ByteReader reader{bytes};
    cairo_surface_t* png =
        CheckedSurface(cairo_image_surface_create_from_png_stream(ReadBytes, &reader));
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

cairo_surface_t* DecodeWithStb(const std::string& bytes) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return nullptr;
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &channels)) return nullptr;
    if (!WithinPixelLimit(width, height)) return nullptr;
    stbi_uc* pixels = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
    if (!pixels) return nullptr;
    cairo_surface_t* surface =
        CheckedSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (!surface) {
        stbi_image_free(pixels);
        return nullptr;
    }
    cairo_surface_flush(surface);
    unsigned char* target = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(target + static_cast<std::size_t>(y) * stride);
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

// Parses an SVG held in memory; references inside it resolve against `path`.
RsvgHandle* SvgHandle(const std::string& bytes, const std::string& path) {
    const SvgLibrary* svg = SvgLibrary::Get();
    if (!svg) return nullptr;
    RsvgHandle* handle = svg->newWithFlags(RSVG_HANDLE_FLAGS_NONE);
    GFile* base = svg->fileForPath(path.c_str());
    svg->setBaseGfile(handle, base);
    g_object_unref(base);
    GInputStream* stream =
        svg->memoryStream(bytes.data(), static_cast<gssize>(bytes.size()), nullptr);
    GError* error = nullptr;
    gboolean read = svg->readStreamSync(handle, stream, nullptr, &error);
    g_object_unref(stream);
    if (error) g_error_free(error);
    if (read) return handle;
    g_object_unref(handle);
    return nullptr;
}

// Renderings by another version of the renderer are not taken from the cache.
const std::string kRendererVersion = LIBRSVG_VERSION;

}  // namespace

PictureFile::~PictureFile() {
    if (svg_) g_object_unref(svg_);
}

std::unique_ptr<PictureFile> PictureFile::Read(const std::string& path) {
    // Only regular files: a FIFO or a device would block the window thread for ever.
    std::string bytes;
    if (!ReadRegularFile(path, kMaxFileBytes, bytes)) return nullptr;
    return Parse(bytes, path);
}

std::unique_ptr<PictureFile> PictureFile::Parse(const std::string& bytes, const std::string& path) {
    if (bytes.empty()) return nullptr;
    std::unique_ptr<PictureFile> file(new PictureFile());
    if (HasPngSignature(bytes) || !LooksLikeSvg(path, bytes)) {
        cairo_surface_t* surface = HasPngSignature(bytes) ? DecodePng(bytes) : DecodeWithStb(bytes);
        if (!surface) return nullptr;
        file->bitmap_ = std::make_shared<Image>(surface);
        return file;
    }
    file->vector_ = true;
    file->path_ = path;
    file->key_ = RenderKey(bytes, path);
    // Bytes parsed well before need no parse until a rendering is missing from the cache.
    if (!RenderCache::KnownGood(file->key_)) {
        file->svg_ = SvgHandle(bytes, path);
        if (!file->svg_) return nullptr;
        RenderCache::MarkGood(file->key_);
    }
    file->svgBytes_ = bytes;
    return file;
}

RenderCache::Key PictureFile::RenderKey(const std::string& bytes, const std::string& path) {
    return RenderCache::KeyOf(bytes, path, kRendererVersion);
}

RsvgHandle* PictureFile::Svg() const {
    if (!svg_) svg_ = SvgHandle(svgBytes_, path_);
    return svg_;
}

ImagePtr PictureFile::Render(int width, int height) const {
    if (!vector_) return bitmap_;
    if (width < 1 || height < 1) width = height = 0;  // the picture's own size
    if (ImagePtr cached = RenderCache::Find(key_, width, height)) return cached;
    RsvgHandle* handle = Svg();
    const SvgLibrary* svg = SvgLibrary::Get();
    if (!handle) return nullptr;
    const int askedWidth = width, askedHeight = height;
    if (width < 1 || height < 1) {
        gdouble w = 0, h = 0;
        if (!svg->intrinsicSizeInPixels(handle, &w, &h) || w < 1 || h < 1) {
            RsvgRectangle ink{}, logical{};
            svg->geometryForElement(handle, nullptr, &ink, &logical, nullptr);
            w = logical.width;
            h = logical.height;
        }
        width = std::max(1, static_cast<int>(std::lround(w)));
        height = std::max(1, static_cast<int>(std::lround(h)));
    }
    if (!WithinPixelLimit(width, height)) return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
    // The picture fills the requested box, as a bitmap drawn into it would.
    gdouble iw = 0, ih = 0;
    if (svg->intrinsicSizeInPixels(handle, &iw, &ih) && iw > 0 && ih > 0) {
        cairo_scale(cr, width / iw, height / ih);
        viewport = RsvgRectangle{0, 0, iw, ih};
    }
    GError* error = nullptr;
    gboolean rendered = svg->renderDocument(handle, cr, &viewport, &error);
    cairo_destroy(cr);
    if (error) g_error_free(error);
    surface = rendered ? CheckedSurface(surface) : (cairo_surface_destroy(surface), nullptr);
    if (!surface) return nullptr;
    auto image = std::make_shared<Image>(surface, /*vector=*/true);
    RenderCache::Store(key_, askedWidth, askedHeight, *image);
    return image;
}

}  // namespace Pym::Gfx
