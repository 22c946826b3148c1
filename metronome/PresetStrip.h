#pragma once

#include <functional>
#include <string>

#include <tinyxml.h>

#include "settings/SimpleStore.h"

namespace Pym {
class LargeFocusContainer;
}

// The strip of tempo presets: one item per preset of the store, each made from the skin's item
// document with "%NAME%" and "%BPM%" filled in, in a container that moves the focus between
// them.
class PresetStrip {
public:
    using Handler = std::function<void(const std::string& name)>;

    explicit PresetStrip(Pym::LargeFocusContainer& container) : container_(container) {}

    // Makes the items from the document named by the element's "PresetXML" (required); a
    // missing document is reported and throws.
    void Build(Pym::XMLLoadSave& loader, TiXmlElement* element, const SimpleStore<int>& presets);
    // Runs when the user picks an item, with its name.
    void OnChosen(Handler handler);
    // Focuses the item of that name; false (and nothing focused) when there is none.
    bool Select(const std::string& name);

private:
    Pym::LargeFocusContainer& container_;
};
