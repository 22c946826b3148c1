#pragma once

#include <string>

#include <tinyxml.h>

namespace Pym {

// A layout length: an absolute part in pixels plus a multiple of the extent the layout gives
// (1 is the whole extent). Text form: terms such as "0.5", "50%", "10px", "1-10px".
class GridVal {
public:
    GridVal() = default;
    GridVal(float units, float percentage) : units(units), percentage(percentage) {}
    explicit GridVal(const std::string& text);
    // From an element with the required float attributes "Units" and "Percentage".
    explicit GridVal(const TiXmlElement* element);

    std::string ToString() const;
    static GridVal Parse(const std::string& text);

    GridVal operator+(const GridVal& other) const {
        return {units + other.units, percentage + other.percentage};
    }
    GridVal operator-(const GridVal& other) const {
        return {units - other.units, percentage - other.percentage};
    }
    GridVal& operator+=(const GridVal& other) { return *this = *this + other; }
    GridVal& operator-=(const GridVal& other) { return *this = *this - other; }
    bool operator==(const GridVal& other) const = default;

    float units = 0.0f;
    float percentage = 0.0f;
};

}  // namespace Pym
