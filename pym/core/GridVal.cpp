#include "pym/core/GridVal.h"

#include <cctype>
#include <cmath>

#include "pym/core/AttributeText.h"
#include "pym/core/XMLLoadSave.h"

namespace Pym {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

GridVal::GridVal(const std::string& text) : GridVal(Parse(text)) {}

GridVal::GridVal(const TiXmlElement* element) {
    XMLLoadSave::ReadAttribute(units, element, "Units", true);
    XMLLoadSave::ReadAttribute(percentage, element, "Percentage", true);
}

GridVal GridVal::Parse(const std::string& text) {
    GridVal value;
    std::size_t at = 0;
    while (at < text.size()) {
        bool negative = false;
        if (text[at] == '-' || text[at] == '+') negative = text[at++] == '-';
        // A term starts with a digit (or the point of a fraction); anything else ends the text.
        if (at >= text.size() || !(IsDigit(text[at]) || text[at] == '.')) break;
        const char* end = nullptr;
        float number = AttributeText::ParseFloatPrefix(text.c_str() + at, &end);
        if (end == text.c_str() + at) break;
        while (at < text.size() && (IsDigit(text[at]) || text[at] == '.')) ++at;
        if (negative) number = -number;
        if (text.compare(at, 2, "px") == 0) {
            value.units += number;
            at += 2;
        } else if (at < text.size() && text[at] == 'p') {
            break;  // "p" without "x": the term is not added
        } else {
            value.percentage += number;
            if (at < text.size() && text[at] == '%') ++at;
        }
    }
    return value;
}

std::string GridVal::ToString() const {
    using AttributeText::FormatFloat;
    if (percentage >= 0.0f) return FormatFloat(units) + "px+" + FormatFloat(percentage);
    return FormatFloat(units) + "px-" + FormatFloat(std::fabs(percentage));
}

}  // namespace Pym
