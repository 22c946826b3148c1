#include "metronome/PresetStrip.h"

#include "pym/gui/LargeFocusContainer.h"
#include "pym/gui/ObjectCreation.h"
#include "widgets/TemplateFill.h"

void PresetStrip::Build(Pym::XMLLoadSave& loader, TiXmlElement* element,
                        const SimpleStore<int>& presets) {
    std::string itemDocument;
    Pym::XMLLoadSave::ReadAttribute(itemDocument, element, "PresetXML", /*required=*/true);
    for (const std::string& name : presets.Names()) {
        TiXmlElement* item = loader.GetRootElement(itemDocument, element);
        if (!item)
            Pym::XMLLoadSave::ReportXmlError(
                element, "MetronomeLayout: no preset item document " + itemDocument);
        item->SetAttribute("Name", name);
        FillPlaceholders(item,
                         {{"%NAME%", name}, {"%BPM%", std::to_string(presets.ValueOf(name))}});
        std::unique_ptr<Pym::GuiObject> made =
            Pym::CreateNamedObject(item->ValueStr(), name, &container_, item);
        if (!made) continue;
        Pym::GuiObject* preset = made.get();
        container_.Adopt(std::move(made));
        container_.AddItem(preset);
    }
    container_.ClearSelection();
}

void PresetStrip::OnChosen(Handler handler) {
    using namespace Pym::Signal;
    container_.ConnectSlot(String::Id(), nullptr,
                           [handler = std::move(handler)](Base& signal, Pym::GuiObject*) {
                               handler(static_cast<String&>(signal).text);
                           });
}

bool PresetStrip::Select(const std::string& name) {
    const int index = name.empty() ? -1 : container_.FindItem(name);
    if (index < 0) {
        container_.ClearSelection();
        return false;
    }
    container_.SetFocusIndex(index);
    return true;
}
