#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "pym/core/XMLLoadSave.h"

namespace Pym {
class GuiObject;
}

// The entries of a drop-down as a screen controller hands them over: the names in order,
// and, once a ComboBox has been populated, the objects made from them and their elements.
class ComboPopulator : public Pym::XMLLoadSave {
public:
    void Append(const std::string& name) { names_.push_back(name); }
    const std::vector<std::string>& Names() const { return names_; }
    bool Offers(const std::string& name) const {
        return std::find(names_.begin(), names_.end(), name) != names_.end();
    }

    std::vector<std::shared_ptr<Pym::GuiObject>> entries;
    std::vector<TiXmlElement*> elements;

private:
    std::vector<std::string> names_;
};
