#pragma once

#include <cstdint>
#include <string>

// What the look tests compare a rendered skin with: the default skin's palette (opaque ARGB) and
// a few ways of reading a pixel, plus the XML of a placed child.
namespace Testing::Look {

constexpr std::uint32_t kBackground = 0xFF15171Cu;
constexpr std::uint32_t kPanel = 0xFF1E2129u;
constexpr std::uint32_t kRaised = 0xFF282C36u;
constexpr std::uint32_t kHairline = 0xFF343945u;
constexpr std::uint32_t kText = 0xFFE8EAF0u;
constexpr std::uint32_t kAccent = 0xFFFF8A3Du;

inline int Red(std::uint32_t pixel) {
    return int(pixel >> 16 & 0xFF);
}

inline int Brightness(std::uint32_t pixel) {
    return int(pixel >> 16 & 0xFF) + int(pixel >> 8 & 0xFF) + int(pixel & 0xFF);
}

// A "CreateObject" placing `inner` under `name` at the given grid values.
inline std::string Place(const std::string& name, const std::string& x, const std::string& y,
                         const std::string& w, const std::string& h, const std::string& inner) {
    return "<CreateObject Name=\"" + name + "\" XPos=\"" + x + "\" YPos=\"" + y + "\" Width=\"" +
           w + "\" Height=\"" + h + "\">" + inner + "</CreateObject>";
}

}  // namespace Testing::Look
