#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pym/gui/PopupMenuWindow.h"
#include "widgets/ComboPopulator.h"

// A drop-down list: a popup menu whose rows are made at run time from an entry document,
// one per name of a populator, laid over a background picture. Choosing a row calls the
// controller's handler with the row's name and closes the list.
class ComboBox : public Pym::PopupMenuWindow {
public:
    using ChoiceHandler = std::function<void(const std::string& name)>;
    // The name skins give the background picture; a choice of it means nothing.
    static constexpr const char* kBackground = "Background";

    ComboBox() = default;
    ~ComboBox() override;

    // Replaces the rows by one per name of the populator, in order, in equal rows.
    void Populate(ComboPopulator& populator);
    // A click on any child (a row, or the background) calls the handler with its name.
    void ConnectChoice(ChoiceHandler handler);
    template <class Receiver>
    void ConnectChoice(void (Receiver::*handler)(const std::string&), Receiver* receiver) {
        ConnectChoice([handler, receiver](const std::string& name) { (receiver->*handler)(name); });
    }
    // Takes the height of its rows before it shows, and shows with the current choice's row
    // selected, so the list opens where the keyboard expects it.
    void TogglePopup() override;
    // The name shown as chosen the next time the list opens.
    void MarkChoice(const std::string& name) { choice_ = name; }
    const std::string& Choice() const { return choice_; }

    float EntryHeight() const { return entryHeight_; }
    const std::string& EntryDocument() const { return entryDocument_; }
    Pym::GuiObject* Background() const { return background_.get(); }
    const std::vector<std::shared_ptr<Pym::GuiObject>>& Entries() const { return entries_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    void RemoveEntries();
    std::shared_ptr<Pym::GuiObject> MakeEntry(const std::string& name, TiXmlElement*& element);
    void FitHeightToEntries();
    bool IsEntry(const Pym::GuiObject* object) const;

    std::string entryDocument_;
    float entryHeight_ = 0.1f;
    TiXmlElement* backgroundElement_ = nullptr;
    std::unique_ptr<Pym::GuiObject> background_;
    std::vector<std::shared_ptr<Pym::GuiObject>> entries_;
    std::string choice_;
};
