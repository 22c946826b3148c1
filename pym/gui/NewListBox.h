#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "pym/gfx/Font.h"
#include "pym/gui/GridLayout.h"

namespace Pym {

// A list of entries, one row each, top to bottom. One entry can be active: its row is
// covered with "ActiveOverlayColor" and its text drawn in "SelectedColor". A click on a row
// or Up/Down/Home/End (while the list is selected) makes an entry active and announces its
// name with a `Pym::Signal::String` to the slots connected on the list; a click also selects
// the list, so the keys reach it. Making an entry active from code is silent. Entries come
// from "Entry" child elements ("Name", and "Text" shown in its place) or from AddEntry.
class NewListBox : public GridLayout {
public:
    struct Entry {
        std::string name;
        std::string text;
    };
    // What changed, for the owner of the list.
    enum class Change { Entries, Active };
    using ChangeHook = std::function<void(Change)>;

    NewListBox();

    // Reads the list's look and entries from an element: "ActiveOverlayColor" (required),
    // "Font", "Color", "SelectedColor", "RowHeight" and the "Entry" children.
    void ReadLook(TiXmlElement* element);

    void AddEntry(const std::string& name, const std::string& text = std::string());
    void Clear();
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    const Entry& EntryAt(int index) const { return entries_.at(index); }
    // The index of the first entry with that name, or -1.
    int FindEntry(const std::string& name) const;

    // Silent; an index out of range leaves no entry active.
    void SetActive(int index);
    bool SetActiveByName(const std::string& name);
    int GetActive() const { return active_; }
    // The active entry's name, empty when none is active.
    std::string GetActiveName() const;
    // Makes an entry active as the user does, announcing it.
    void Choose(int index);

    int RowHeight() const { return rowHeight_; }
    // The height all rows take together.
    int RowsHeight() const { return rowHeight_ * EntryCount(); }
    // The row at a height of the list, or -1.
    int RowAt(int y) const;
    const ColourValue& OverlayColour() const { return overlay_; }
    void SetChangeHook(ChangeHook hook) { changeHook_ = std::move(hook); }

    // Selected from wherever it is scrolled to: selection by position would miss a list whose
    // top is scrolled out of view.
    void Select() override;
    bool DrawSelf(Gfx::DrawContext& context) override;
    void OnLeftButtonDown(Signal::LeftButtonDown& signal) override;
    void OnKeyPress(Signal::KeyPress& signal) override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    void Changed(Change change);
    // The first and last row that can be seen; last < first when none can.
    std::pair<int, int> RowsInView() const;

    std::vector<Entry> entries_;
    int active_ = -1;
    int rowHeight_ = 24;
    bool rowHeightGiven_ = false;
    int textHeight_ = 0;
    Gfx::FontPtr font_;
    ColourValue colour_{255, 232, 234, 240};
    ColourValue activeColour_{255, 255, 255, 255};
    ColourValue overlay_{96, 255, 138, 61};
    ChangeHook changeHook_;
};

}  // namespace Pym
