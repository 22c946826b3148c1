#include "pym/gfx/Image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "pym/gfx/PictureFile.h"

namespace Pym::Gfx {

Image::Image(cairo_surface_t* surface, bool vector) : surface_(surface), vector_(vector) {}

Image::~Image() {
    if (surface_) cairo_surface_destroy(surface_);
}

namespace {

std::shared_ptr<Image> Rendered(const std::unique_ptr<PictureFile>& file, const std::string& path,
                                int width, int height) {
    ImagePtr image = file ? file->Render(width, height) : nullptr;
    if (!image) throw Image::InvalidImageException(path);
    return image;
}

}  // namespace

std::shared_ptr<Image> Image::FromFile(const std::string& path, int width, int height) {
    return Rendered(PictureFile::Read(path), path, width, height);
}

std::shared_ptr<Image> Image::FromBytes(const std::string& bytes, const std::string& path,
                                        int width, int height) {
    return Rendered(PictureFile::Parse(bytes, path), path, width, height);
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
    auto compacted =
        std::make_shared<Image>(WithoutRepeats(image->surface_, rows, columns), image->vector_);
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
