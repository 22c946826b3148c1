#include "pym/gui/NewListBox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/HostWindow.h"
#include "pym/gfx/DrawContext.h"
#include "pym/gfx/TextLayout.h"
#include "pym/gui/ClippedWindow.h"
#include "pym/gui/OwnChildElement.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<NewListBox>("Pym::NewListBox", "$PYM/Objects/NewListBox/NewListBox.xml");

// Space between a row's left edge and its text.
constexpr int kTextInset = 10;
// Rows are this much taller than their text when the skin does not say.
constexpr double kRowToText = 1.8;

constexpr std::uint32_t Key(Platform::SpecialKey key) {
    return Platform::kKeyDownBit | key;
}

}  // namespace

NewListBox::NewListBox() : GridLayout(/*notSelectable=*/0) {}

bool NewListBox::LoadFromXml(TiXmlElement* element) {
    if (!GridLayout::LoadFromXml(element)) return false;
    ReadLook(element);
    return true;
}

void NewListBox::ReadLook(TiXmlElement* element) {
    ColourPtr colour;
    ReadAttribute(colour, element, "ActiveOverlayColor", true);
    overlay_ = *colour;
    if (ReadAttribute(colour, element, "Color")) colour_ = *colour;
    if (ReadAttribute(colour, element, "SelectedColor")) activeColour_ = *colour;
    if (TiXmlElement* fontElement = OwnChildElement(*this, element, "Font")) {
        FontPtr description;
        ReadFont(description, fontElement);
        font_ = std::make_shared<Gfx::Font>(*description, 0, 0);
        textHeight_ = static_cast<int>(std::ceil(Gfx::TextLayout::Measure(*font_, "Ag").height));
        if (!rowHeightGiven_) rowHeight_ = static_cast<int>(std::lround(textHeight_ * kRowToText));
    }
    if (ReadAttribute(rowHeight_, element, "RowHeight")) rowHeightGiven_ = true;
    rowHeight_ = std::max(rowHeight_, 1);
    for (TiXmlElement* entry : GetChildElements(element, "Entry")) {
        std::string name, text;
        ReadAttribute(name, entry, "Name");
        ReadAttribute(text, entry, "Text");
        AddEntry(name, text);
    }
}

// --- entries ------------------------------------------------------------------------------

void NewListBox::AddEntry(const std::string& name, const std::string& text) {
    entries_.push_back({name, text.empty() ? name : text});
    Changed(Change::Entries);
}

void NewListBox::Clear() {
    entries_.clear();
    active_ = -1;
    Changed(Change::Entries);
}

int NewListBox::FindEntry(const std::string& name) const {
    for (int i = 0; i < EntryCount(); ++i)
        if (entries_[i].name == name) return i;
    return -1;
}

void NewListBox::SetActive(int index) {
    const int active = index >= 0 && index < EntryCount() ? index : -1;
    if (active == active_) return;
    active_ = active;
    Changed(Change::Active);
}

bool NewListBox::SetActiveByName(const std::string& name) {
    const int index = FindEntry(name);
    SetActive(index);
    return index >= 0;
}

std::string NewListBox::GetActiveName() const {
    return active_ >= 0 ? entries_[active_].name : std::string();
}

void NewListBox::Choose(int index) {
    if (index < 0 || index >= EntryCount()) return;
    SetActive(index);
    Signal::String chosen(entries_[index].name);
    SendSignalToSelf(chosen);
}

void NewListBox::Changed(Change change) {
    if (changeHook_) changeHook_(change);
    Redraw();
}

int NewListBox::RowAt(int y) const {
    if (y < 0) return -1;
    const int row = y / rowHeight_;
    return row < EntryCount() ? row : -1;
}

// --- input --------------------------------------------------------------------------------

void NewListBox::Select() {
    GridLayout::Select();
    SetSelected(true);
    Redraw();
}

void NewListBox::OnLeftButtonDown(Signal::LeftButtonDown& signal) {
    if (!IsVisible() || !HitTestLocal(signal.x, signal.y)) return;
    if (!IsSelected()) Select();
    Choose(RowAt(signal.y));
}

void NewListBox::OnKeyPress(Signal::KeyPress& signal) {
    if (!IsSelected() || entries_.empty()) return;
    const int last = EntryCount() - 1;
    switch (static_cast<std::uint32_t>(signal.key)) {
        case Key(Platform::KeyUp):
            Choose(active_ < 0 ? last : std::max(active_ - 1, 0));
            break;
        case Key(Platform::KeyDown):
            Choose(active_ < 0 ? 0 : std::min(active_ + 1, last));
            break;
        case Key(Platform::KeyHome):
            Choose(0);
            break;
        case Key(Platform::KeyEnd):
            Choose(last);
            break;
        default:
            break;
    }
}

// --- drawing ------------------------------------------------------------------------------

std::pair<int, int> NewListBox::RowsInView() const {
    int top = 0, bottom = GetHeight();
    // Inside a viewport only the rows scrolled into it are seen: a long list would otherwise
    // lay out every row's text on every paint.
    if (const auto* view = dynamic_cast<const ClippedWindow*>(GetParent())) {
        top = std::max(top, view->ScrollY() - GetY());
        bottom = std::min(bottom, view->ScrollY() - GetY() + view->GetHeight());
    }
    if (bottom <= top || entries_.empty()) return {0, -1};
    return {top / rowHeight_, std::min((bottom - 1) / rowHeight_, EntryCount() - 1)};
}

bool NewListBox::DrawSelf(Gfx::DrawContext& context) {
    const float left = static_cast<float>(GetX()), width = static_cast<float>(GetWidth());
    const auto [first, last] = RowsInView();
    for (int row = first; row <= last; ++row) {
        const int top = row * rowHeight_;
        const float y = static_cast<float>(GetY() + top);
        if (font_) {
            const float textTop = y + static_cast<float>((rowHeight_ - textHeight_) / 2);
            context.DrawString(*font_, entries_[row].text,
                               {left + kTextInset, textTop, width - 2 * kTextInset,
                                static_cast<float>(textHeight_)},
                               row == active_ ? activeColour_ : colour_, Gfx::TextAlignment::Near,
                               Gfx::TextTrimming::None);
        }
        // Over the row, so a translucent overlay tints its text as well.
        if (row == active_)
            context.FillRect({left, y, width, static_cast<float>(rowHeight_)}, overlay_);
    }
    return true;
}

}  // namespace Pym
