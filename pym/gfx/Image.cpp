#include "pym/gfx/Image.h"

#include <librsvg/rsvg.h>
#include <stb_image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "pym/base/RegularFile.h"

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
    RsvgHandle* handle = rsvg_handle_new_with_flags(RSVG_HANDLE_FLAGS_NONE);
    GFile* base = g_file_new_for_path(path.c_str());
    rsvg_handle_set_base_gfile(handle, base);
    g_object_unref(base);
    GInputStream* stream = g_memory_input_stream_new_from_data(
        bytes.data(), static_cast<gssize>(bytes.size()), nullptr);
    GError* error = nullptr;
    gboolean read = rsvg_handle_read_stream_sync(handle, stream, nullptr, &error);
    g_object_unref(stream);
    if (error) g_error_free(error);
    if (read) return handle;
    g_object_unref(handle);
    return nullptr;
}

cairo_surface_t* DecodeSvg(const std::string& bytes, const std::string& path, int width,
                           int height) {
    RsvgHandle* handle = SvgHandle(bytes, path);
    if (!handle) return nullptr;
    GError* error = nullptr;
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
    if (!WithinPixelLimit(width, height)) {
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
    // Only regular files: a FIFO or a device would block the window thread for ever.
    std::string bytes;
    if (!ReadRegularFile(path, kMaxFileBytes, bytes)) throw InvalidImageException(path);
    return FromBytes(bytes, path, width, height);
}

std::shared_ptr<Image> Image::FromBytes(const std::string& bytes, const std::string& path,
                                        int width, int height) {
    if (bytes.empty()) throw InvalidImageException(path);
    cairo_surface_t* surface = nullptr;
    bool vector = false;
    if (HasPngSignature(bytes)) {
        surface = DecodePng(bytes);
    } else if (LooksLikeSvg(path, bytes)) {
        surface = DecodeSvg(bytes, path, width, height);
        vector = true;
    } else {
        surface = DecodeWithStb(bytes);
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

std::shared_ptr<Image> Image::Over(std::uint32_t* pixels, int width, int height, int stride) {
    return std::make_shared<Image>(cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(pixels), CAIRO_FORMAT_ARGB32, width, height, stride));
}

std::shared_ptr<Image> Image::Scaled(int width, int height, cairo_filter_t filter) const {
    auto scaled = Blank(width, height);
    cairo_t* cr = cairo_create(scaled->Surface());
    cairo_scale(cr, static_cast<double>(scaled->Width()) / Width(),
                static_cast<double>(scaled->Height()) / Height());
    Paint(cr, filter);
    cairo_destroy(cr);
    return scaled;
}

std::shared_ptr<Image> Image::Compacted(const std::shared_ptr<Image>& image) {
    // Below this many bytes saved, one piece beats nine.
    constexpr long kWorthBytes = 64 * 1024;
    if (image->IsCompacted()) return image;
    const LineRun rows = LongestEqualRows(image->surface_);
    const LineRun columns = LongestEqualColumns(image->surface_);
    const long kept =
        static_cast<long>(image->Width() - columns.extra) * (image->Height() - rows.extra);
    if ((static_cast<long>(image->Width()) * image->Height() - kept) * 4 < kWorthBytes)
        return image;
    auto compacted = std::make_shared<Image>(WithoutRepeats(image->surface_, rows, columns));
    compacted->vector_ = image->vector_;
    compacted->rows_ = rows;
    compacted->columns_ = columns;
    return compacted;
}

void Image::Paint(cairo_t* cr, cairo_filter_t filter, double alpha) const {
    if (IsCompacted()) {
        // In pieces only where each device pixel is one picture pixel: there the pieces give
        // exactly the whole picture's pixels. Elsewhere the whole picture is made for the
        // filter to see.
        if (LandsOnPixels(cr)) {
            PaintPieces(cr, alpha);
            return;
        }
        auto whole = Blank(Width(), Height());
        cairo_t* full = cairo_create(whole->Surface());
        PaintPieces(full, 1.0);
        cairo_destroy(full);
        whole->Paint(cr, filter, alpha);
        return;
    }
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), filter);
    // Edge pixels repeat outwards instead of fading to transparent at the borders.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    if (alpha >= 1.0)
        cairo_paint(cr);
    else
        cairo_paint_with_alpha(cr, alpha);
}

void Image::PaintPieces(cairo_t* cr, double alpha) const {
    // Along each axis: before the run, the run (one kept line stretched), after it; as
    // (picture start, kept start, kept length, picture length).
    struct Span {
        int at, from, kept, length;
    };
    auto spans = [](const LineRun& run, int kept) {
        return std::array<Span, 3>{
            Span{0, 0, run.at, run.at}, Span{run.at, run.at, 1, run.extra + 1},
            Span{run.at + run.extra + 1, run.at + 1, kept - run.at - 1, kept - run.at - 1}};
    };
    const auto xs = spans(columns_, cairo_image_surface_get_width(surface_));
    const auto ys = spans(rows_, cairo_image_surface_get_height(surface_));
    for (const Span& y : ys) {
        for (const Span& x : xs) {
            if (x.length <= 0 || y.length <= 0) continue;
            cairo_save(cr);
            cairo_rectangle(cr, x.at, y.at, x.length, y.length);
            cairo_clip(cr);
            // Each piece samples only its own kept pixels: the rounding of a stretched line's
            // sampling cannot reach the pixels beside it.
            cairo_surface_t* kept =
                cairo_surface_create_for_rectangle(surface_, x.from, y.from, x.kept, y.kept);
            cairo_set_source_surface(cr, kept, 0, 0);
            cairo_surface_destroy(kept);
            cairo_pattern_t* source = cairo_get_source(cr);
            const double sx = static_cast<double>(x.kept) / x.length;
            const double sy = static_cast<double>(y.kept) / y.length;
            cairo_matrix_t toKept;
            cairo_matrix_init(&toKept, sx, 0, 0, sy, -x.at * sx, -y.at * sy);
            cairo_pattern_set_matrix(source, &toKept);
            cairo_pattern_set_filter(source, CAIRO_FILTER_NEAREST);
            cairo_pattern_set_extend(source, CAIRO_EXTEND_PAD);
            if (alpha >= 1.0)
                cairo_paint(cr);
            else
                cairo_paint_with_alpha(cr, alpha);
            cairo_restore(cr);
        }
    }
}

std::uint32_t Image::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    auto kept = [](int at, const LineRun& run) {
        return at <= run.at ? at : std::max(run.at, at - run.extra);
    };
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    if (!data) return 0;
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        data + kept(y, rows_) * cairo_image_surface_get_stride(surface_));
    return row[kept(x, columns_)];
}

bool LandsOnPixels(cairo_t* cr, double x, double y) {
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    const auto whole = [](double value) { return value == std::floor(value); };
    return m.xx == 1.0 && m.yy == 1.0 && m.xy == 0.0 && m.yx == 0.0 && whole(m.x0 + x) &&
           whole(m.y0 + y);
}

int Image::Width() const {
    return cairo_image_surface_get_width(surface_) + columns_.extra;
}

int Image::Height() const {
    return cairo_image_surface_get_height(surface_) + rows_.extra;
}

}  // namespace Pym::Gfx
