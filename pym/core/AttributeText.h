#pragma once

#include <string>

#include "pym/core/ValueTypes.h"

// The text forms of attribute values. Numbers read and write in the C locale whatever the
// process locale is, so a skin means the same on every machine.
namespace Pym::AttributeText {

float ParseFloat(const std::string& text);  // leading number, rest ignored, none gives 0
// The number at the start of `text`; `end` receives where it stopped (`text` when none).
float ParseFloatPrefix(const char* text, const char** end);
int ParseInt(const std::string& text);  // leading integer, rest ignored, none gives 0
long ParseLong(const std::string& text);
bool ParseStrictInt(const std::string& text, int& value);  // whole text or nothing
bool ParseBool(const std::string& text);                   // "true" and "True" only
ColourValue ParseColour(const std::string& text);          // "r,g,b,a"
FontStyle ParseFontStyle(const std::string& text);

std::string FormatFloat(float value);  // six significant digits, no trailing zeros
std::string FormatInt(long value);
std::string FormatBool(bool value);
std::string FormatColour(const ColourValue& colour);
std::string FormatFontStyle(FontStyle style);

}  // namespace Pym::AttributeText
