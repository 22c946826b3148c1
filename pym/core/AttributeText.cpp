#include "pym/core/AttributeText.h"

#include <locale.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include <boost/lexical_cast.hpp>

namespace Pym::AttributeText {

namespace {

locale_t CLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

std::string StreamOut(auto value) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

}  // namespace

float ParseFloat(const std::string& text) {
    return ParseFloatPrefix(text.c_str(), nullptr);
}

float ParseFloatPrefix(const char* text, const char** end) {
    char* stop = nullptr;
    float value = static_cast<float>(strtod_l(text, &stop, CLocale()));
    if (end) *end = stop;
    return value;
}

long ParseLong(const std::string& text) {
    return strtol_l(text.c_str(), nullptr, 10, CLocale());
}

int ParseInt(const std::string& text) {
    long value = ParseLong(text);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

bool ParseStrictInt(const std::string& text, int& value) {
    int parsed = 0;
    if (!boost::conversion::try_lexical_convert(text, parsed)) return false;
    value = parsed;
    return true;
}

bool ParseBool(const std::string& text) {
    return text == "true" || text == "True";
}

ColourValue ParseColour(const std::string& text) {
    // Pieces in the order red, green, blue, alpha; a missing alpha means opaque, extra pieces
    // are ignored.
    std::int32_t* order[4];
    ColourValue colour;
    order[0] = &colour.red;
    order[1] = &colour.green;
    order[2] = &colour.blue;
    order[3] = &colour.alpha;
    std::size_t start = 0;
    for (int piece = 0; piece < 4 && start <= text.size(); ++piece) {
        std::size_t comma = text.find(',', start);
        *order[piece] = ParseInt(text.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return colour;
}

FontStyle ParseFontStyle(const std::string& text) {
    if (text == "Bold") return FontStyleBold;
    if (text == "Italic") return FontStyleItalic;
    if (text == "Underline") return FontStyleUnderline;
    if (text == "Strikeout") return FontStyleStrikeout;
    return FontStyleRegular;
}

std::string FormatFloat(float value) {
    return StreamOut(value);
}

std::string FormatInt(long value) {
    return StreamOut(value);
}

std::string FormatBool(bool value) {
    return value ? "True" : "False";
}

std::string FormatColour(const ColourValue& colour) {
    return StreamOut(colour.red) + "," + StreamOut(colour.green) + "," + StreamOut(colour.blue) +
           "," + StreamOut(colour.alpha);
}

std::string FormatFontStyle(FontStyle style) {
    switch (style) {
        case FontStyleBold:
            return "Bold";
        case FontStyleItalic:
            return "Italic";
        case FontStyleUnderline:
            return "Underline";
        case FontStyleStrikeout:
            return "Strikeout";
        default:
            return "Regular";
    }
}

}  // namespace Pym::AttributeText
