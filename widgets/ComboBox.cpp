#include "widgets/ComboBox.h"

#include <algorithm>

#include "pym/core/DocumentHold.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/RegisterType.h"

namespace {

const bool registered = Pym::RegisterType<ComboBox>("ComboBox", "");

}  // namespace

ComboBox::~ComboBox() {
    RemoveEntries();
}

bool ComboBox::LoadFromXml(TiXmlElement* element) {
    if (!Pym::PopupMenuWindow::LoadFromXml(element)) return false;
    ReadAttribute(entryDocument_, element, "ObjectXML", true);
    ReadAttribute(entryHeight_, element, "EntryHeight", true);
    backgroundElement_ = GetChildElement(element, "Pym::Image");
    if (!backgroundElement_) ReportXmlError(element, "Pym::Image");
    std::string name = kBackground;
    ReadAttribute(name, backgroundElement_, "Name");
    background_ = Pym::CreateNamedObject("Pym::Image", name, this, backgroundElement_);
    return true;
}

void ComboBox::RemoveEntries() {
    for (const auto& entry : entries_) RemoveChild(entry.get(), false);
    entries_.clear();
}

std::shared_ptr<Pym::GuiObject> ComboBox::MakeEntry(const std::string& name,
                                                    TiXmlElement*& element) {
    // Each entry is built from a fresh copy of the document, named by its text; the copy goes
    // back to the map with the entry, however long a populator shares it.
    auto document = std::make_shared<Pym::DocumentHold>();
    element = GetRootElement(entryDocument_, GetElement(), false, document.get());
    if (!element) return nullptr;
    WriteAttribute(name, element, "Name");
    std::unique_ptr<Pym::GuiObject> entry =
        Pym::CreateNamedObject(element->ValueStr(), name, this, element);
    if (!entry) return nullptr;
    return {entry.release(), [document](Pym::GuiObject* made) { delete made; }};
}

void ComboBox::Populate(ComboPopulator& populator) {
    // A list populated again shows the new names only.
    RemoveEntries();
    if (background_ && backgroundElement_)
        AddToLayout(background_.get(), backgroundElement_, nullptr);
    const std::vector<std::string>& names = populator.Names();
    const float rows = static_cast<float>(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        TiXmlElement* element = nullptr;
        std::shared_ptr<Pym::GuiObject> entry = MakeEntry(names[i], element);
        if (!entry) continue;  // the factory has said why
        populator.entries.push_back(entry);
        populator.elements.push_back(element);
        entries_.push_back(entry);
        AddChildAtFractions(entry.get(), 0.0f, static_cast<float>(i) / rows, 1.0f, 1.0f / rows);
        // The keyboard walks the rows in order.
        AddTabStop(entry.get(), 0, static_cast<int>(i));
    }
    ResetCachedRect();
    Relayout();
    Redraw();
}

bool ComboBox::IsEntry(const Pym::GuiObject* object) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [object](const auto& entry) { return entry.get() == object; });
}

void ComboBox::ConnectChoice(ChoiceHandler handler) {
    auto shared = std::make_shared<ChoiceHandler>(std::move(handler));
    std::weak_ptr<Pym::PopupMenuWindow*> alive = AliveToken();
    for (Pym::GuiObject* child : Children()) {
        const bool entry = IsEntry(child);
        child->ConnectSlot(Pym::Signal::Activate::Id(), nullptr,
                           [shared, alive, entry](Pym::Signal::Base& signal, Pym::GuiObject*) {
                               if (!signal.sender) return;
                               (*shared)(signal.sender->GetName());
                               // A row chosen is the end of the list's job.
                               if (auto menu = alive.lock(); entry && menu && *menu)
                                   (*menu)->HideMenu();
                           });
    }
}

void ComboBox::FitHeightToEntries() {
    auto* parent = dynamic_cast<Pym::GridLayout*>(GetParent());
    Pym::LayoutObject* place = parent ? parent->PlaceOf(this) : nullptr;
    if (!place) return;
    place->height = Pym::GridVal(0.0f, entryHeight_ * static_cast<float>(Children().size()));
    parent->PlaceChild(this, place->xPos, place->yPos, place->width, place->height);
}

void ComboBox::TogglePopup() {
    FitHeightToEntries();
    Pym::PopupMenuWindow::TogglePopup();
    if (!IsVisible()) return;
    for (const auto& entry : entries_)
        if (entry->GetName() == choice_) entry->SetSelected(true);
}
