#include "pym/gfx/TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Pym::Gfx {

namespace {

cairo_font_options_t* UnhintedOptions() {
    static cairo_font_options_t* options = [] {
        cairo_font_options_t* o = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        return o;
    }();
    return options;
}

// A context for measuring outside of any drawing.
cairo_t* MeasuringContext() {
    static cairo_t* cr = [] {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t* context = cairo_create(surface);
        cairo_surface_destroy(surface);
        return context;
    }();
    return cr;
}

PangoLayout* MakeLayout(cairo_t* cr, const Font& font, const std::string& text) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), UnhintedOptions());
    pango_layout_context_changed(layout);
    pango_layout_set_font_description(layout, font.Pango());
    std::string valid = TextLayout::ValidUtf8(text);
    pango_layout_set_text(layout, valid.c_str(), static_cast<int>(valid.size()));
    PangoAttrList* attributes = pango_attr_list_new();
    if (font.Description().style == Pym::FontStyleUnderline)
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.Description().style == Pym::FontStyleStrikeout)
        pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    return layout;
}

// The laid-out texts last drawn: a display repainted many times a second draws the same
// labels each time, and laying them out (shaping) again is most of what drawing them costs.
class DrawnLayouts {
public:
    PangoLayout* Get(cairo_t* cr, const Font& font, const std::string& text, const TextBox& box,
                     PangoWrapMode wrap, PangoAlignment alignment, bool ellipsize) {
        const int width = static_cast<int>(box.width * PANGO_SCALE);
        const int height = ellipsize ? static_cast<int>(box.height * PANGO_SCALE) : -1;
        char* description = pango_font_description_to_string(font.Pango());
        std::string key = description;
        g_free(description);
        key += '\n' + std::to_string(static_cast<int>(font.Description().style)) + ' ' +
               std::to_string(width) + ' ' + std::to_string(height) + ' ' +
               std::to_string(static_cast<int>(wrap)) + ' ' +
               std::to_string(static_cast<int>(alignment)) + '\n' + text;
        const Target target = TargetOf(cr);
        auto found = layouts_.find(key);
        if (found != layouts_.end()) {
            // Follows another target or scale; telling the layout always would lay it out
            // again every time.
            if (!(found->second.target == target)) {
                pango_cairo_update_layout(cr, found->second.layout);
                found->second.target = target;
            }
            return found->second.layout;
        }
        if (layouts_.size() >= kMostLayouts) Clear();
        PangoLayout* layout = MakeLayout(cr, font, text);
        pango_layout_set_width(layout, width);
        pango_layout_set_wrap(layout, wrap);
        pango_layout_set_alignment(layout, alignment);
        if (ellipsize) {
            pango_layout_set_height(layout, height);
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        }
        layouts_.emplace(std::move(key), Entry{layout, target});
        return layout;
    }

private:
    static constexpr std::size_t kMostLayouts = 256;
    // What a layout depends on besides its text and font: the surface (its font options) and
    // the transformation without its translation.
    struct Target {
        cairo_surface_t* surface = nullptr;
        double xx = 1, yx = 0, xy = 0, yy = 1;
        bool operator==(const Target&) const = default;
    };
    struct Entry {
        PangoLayout* layout;
        Target target;
    };
    static Target TargetOf(cairo_t* cr) {
        cairo_matrix_t m;
        cairo_get_matrix(cr, &m);
        return Target{cairo_get_target(cr), m.xx, m.yx, m.xy, m.yy};
    }
    void Clear() {
        for (auto& [key, entry] : layouts_) g_object_unref(entry.layout);
        layouts_.clear();
    }
    std::unordered_map<std::string, Entry> layouts_;
};

TextBox FromPango(const PangoRectangle& r) {
    return TextBox{static_cast<double>(r.x) / PANGO_SCALE, static_cast<double>(r.y) / PANGO_SCALE,
                   static_cast<double>(r.width) / PANGO_SCALE,
                   static_cast<double>(r.height) / PANGO_SCALE};
}

}  // namespace

std::string TextLayout::ValidUtf8(const std::string& text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return text;
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

TextBox TextLayout::Measure(const Font& font, const std::string& text, double layoutWidth) {
    PangoLayout* layout = MakeLayout(MeasuringContext(), font, text);
    if (layoutWidth > 0) {
        pango_layout_set_width(layout, static_cast<int>(layoutWidth * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    PangoRectangle logical{};
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    TextBox box = FromPango(logical);
    box.width = std::ceil(box.width);
    box.height = std::ceil(box.height);
    return box;
}

std::vector<TextBox> TextLayout::MeasureCharacterRanges(
    const Font& font, const std::string& text, const std::vector<std::pair<int, int>>& ranges) {
    std::string valid = ValidUtf8(text);
    PangoLayout* layout = MakeLayout(MeasuringContext(), font, valid);
    glong characters = g_utf8_strlen(valid.c_str(), static_cast<gssize>(valid.size()));
    auto byteIndex = [&](glong character) {
        character = std::clamp<glong>(character, 0, characters);
        return static_cast<int>(g_utf8_offset_to_pointer(valid.c_str(), character) - valid.c_str());
    };
    std::vector<TextBox> boxes;
    for (auto [start, length] : ranges) {
        int first = byteIndex(start);
        int last = byteIndex(static_cast<glong>(start) + std::max(length, 0));
        PangoRectangle begin{}, end{};
        pango_layout_index_to_pos(layout, first, &begin);
        if (last > first) {
            // The end is the trailing edge of the range's last character.
            int lastChar = byteIndex(static_cast<glong>(start) + length - 1);
            pango_layout_index_to_pos(layout, lastChar, &end);
            end.x += end.width;
        } else {
            end = begin;
        }
        TextBox box = FromPango(begin);
        box.width = static_cast<double>(end.x - begin.x) / PANGO_SCALE;
        boxes.push_back(box);
    }
    g_object_unref(layout);
    return boxes;
}

TextLayout::CaretStops TextLayout::MeasureCaretStops(const Font& font, const std::string& text) {
    const std::string valid = ValidUtf8(text);
    PangoLayout* layout = MakeLayout(MeasuringContext(), font, valid);
    CaretStops stops;
    PangoRectangle logical{};
    pango_layout_get_extents(layout, nullptr, &logical);
    stops.extent = FromPango(logical);
    // Walking the characters once; asking for each index on its own would walk them each time.
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    PangoRectangle character{};
    const glong characters = g_utf8_strlen(valid.c_str(), static_cast<gssize>(valid.size()));
    for (glong i = 0; i < characters; ++i) {
        pango_layout_iter_get_char_extents(iter, &character);
        stops.x.push_back(static_cast<double>(character.x) / PANGO_SCALE);
        if (!pango_layout_iter_next_char(iter)) break;
    }
    pango_layout_iter_free(iter);
    g_object_unref(layout);
    stops.x.push_back(
        stops.x.empty() ? 0.0 : static_cast<double>(character.x + character.width) / PANGO_SCALE);
    stops.x.resize(static_cast<std::size_t>(characters) + 1, stops.x.back());
    return stops;
}

void TextLayout::Draw(cairo_t* cr, const Font& font, const std::string& text, const TextBox& box,
                      const Pym::ColourValue& colour, TextAlignment alignment,
                      TextTrimming trimming) {
    if (box.width <= 0 || box.height <= 0 || text.empty()) return;
    // Never destroyed: texts may be drawn until the process ends.
    static auto* drawn = new DrawnLayouts;
    static std::mutex drawing;
    std::lock_guard<std::mutex> lock(drawing);
    const PangoWrapMode wrap =
        trimming == TextTrimming::Character || trimming == TextTrimming::EllipsisCharacter
            ? PANGO_WRAP_CHAR
            : PANGO_WRAP_WORD_CHAR;
    const PangoAlignment align = alignment == TextAlignment::Center ? PANGO_ALIGN_CENTER
                                 : alignment == TextAlignment::Far  ? PANGO_ALIGN_RIGHT
                                                                    : PANGO_ALIGN_LEFT;
    const bool ellipsize =
        trimming == TextTrimming::EllipsisCharacter || trimming == TextTrimming::EllipsisWord;
    PangoLayout* layout = drawn->Get(cr, font, text, box, wrap, align, ellipsize);
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_clip(cr);
    cairo_set_source_rgba(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0,
                          colour.alpha / 255.0);
    cairo_move_to(cr, box.x, box.y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

}  // namespace Pym::Gfx
