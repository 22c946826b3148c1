#pragma once

#include <string>
#include <utility>
#include <vector>

#include <tinyxml.h>

// Writes values into an item template: every "%KEY%" in an attribute of the element or of its
// descendants becomes the value given for it.
void FillPlaceholders(TiXmlElement* element,
                      const std::vector<std::pair<std::string, std::string>>& values);
