#include "pym/gui/EditBox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/HostWindow.h"
#include "pym/gfx/DrawContext.h"
#include "pym/gfx/TextLayout.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ScreenManager.h"

namespace Pym {

namespace {

const bool registered = RegisterType<EditBox>("Pym::EditBox", "$PYM/Objects/EditBox/EditBox.xml");

constexpr unsigned kSpecial = Platform::kKeyDownBit;
constexpr unsigned kCopy = 3, kCut = 24, kPaste = 22, kBackspace = 8, kEnter = 13;

const ColourValue kSelectionFill{255, 0, 0, 200};
const ColourValue kSelectionText{255, 255, 255, 255};

// What may be typed: the filter applies to keys only; pasted text goes to the validators whole.
bool Typeable(unsigned key) {
    return key == ' ' || key == '.' || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
           (key >= 'a' && key <= 'z');
}

// Line breaks and other control characters have no place in a one-line box.
bool IsControl(const std::string& character) {
    const auto byte = static_cast<unsigned char>(character.front());
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

EditBox::EditBox() : Text() {
    SubscribeTicks();
    SetNotSelectable(0);
    // Keys follow the selection: a box the user is typing into stays their target when the
    // window is left and entered again.
    SetKeepSelection(true);
    // The text goes over whatever field the skin puts inside the box.
    SetDrawSelfAfterChildren(true);
}

bool EditBox::LoadFromXml(TiXmlElement* element) {
    if (!Text::LoadFromXml(element)) return false;
    edit_.SetText(GetText());
    KeepCaretVisible();
    return true;
}

void EditBox::SetText(const std::string& text) {
    edit_.SetText(text);
    Text::SetText(edit_.Text());
    KeepCaretVisible();
    Redraw();
}

void EditBox::OnLayoutReady() {
    GridLayout::OnLayoutReady();
    KeepCaretVisible();
}

bool EditBox::Resize(int width, int height) {
    if (!Text::Resize(width, height)) return false;
    KeepCaretVisible();
    return true;
}

// --- keys -----------------------------------------------------------------------------------

bool EditBox::Handles(unsigned key) const {
    if (key & kSpecial) {
        switch (key & ~kSpecial) {
            case Platform::KeyEnd:
            case Platform::KeyHome:
            case Platform::KeyLeft:
            case Platform::KeyRight:
            case Platform::KeyDelete:
                return true;
            default:
                return false;
        }
    }
    return key == kCopy || key == kCut || key == kPaste || key == kBackspace || key == kEnter ||
           Typeable(key);
}

void EditBox::OnKeyPress(Signal::KeyPress& signal) {
    const auto key = static_cast<unsigned>(signal.key);
    if (!Handles(key)) return;
    // Selected but not editing (reached by keyboard navigation): typing starts the editing.
    if (!editing_) TakeFocus();
    if (key == kCopy)
        Copy();
    else if (key == kCut)
        Cut();
    else if (key == kPaste)
        Paste();
    else if (key & kSpecial)
        Navigate(key & ~kSpecial);
    else if (key == kBackspace) {
        edit_.Backspace();
        Changed();
    } else if (key == kEnter)
        Enter();
    else {
        InsertValidated(std::string(1, static_cast<char>(key)));
        Changed();
    }
    Redraw();
}

void EditBox::Navigate(unsigned key) {
    const bool shift = Platform::Host().ShiftDown();
    switch (key) {
        case Platform::KeyEnd:
            edit_.End(shift);
            break;
        case Platform::KeyHome:
            edit_.Home(shift);
            break;
        case Platform::KeyLeft:
            edit_.Left(shift);
            break;
        case Platform::KeyRight:
            edit_.Right(shift);
            break;
        case Platform::KeyDelete:
            edit_.Delete();
            Changed();
            return;
        default:
            return;
    }
    if (!shift) RestartBlink();
    KeepCaretVisible();
}

void EditBox::Copy() {
    const std::string selected = edit_.SelectedText();
    if (selected.empty()) return;  // the clipboard keeps what it had
    if (ScreenManager* manager = FindScreenManager()) manager->SetClipboardText(selected);
}

void EditBox::Cut() {
    // Without a selection there is nothing to cut, and nothing may be deleted unsaved.
    if (edit_.SelectedText().empty()) return;
    Copy();
    edit_.Delete();
    Changed();
}

void EditBox::Paste() {
    ScreenManager* manager = FindScreenManager();
    std::string pasted;
    if (!manager || !manager->GetClipboardText(pasted)) return;
    // Each character is put to the validators on its own; the box announces the result once.
    ForEachCharacter(pasted, [this](const std::string& character) {
        if (Full()) return false;
        if (!IsControl(character)) InsertValidated(character);
        return true;
    });
    Changed();
}

bool EditBox::Full() const {
    return edit_.Length() >= kMaxCharacters && edit_.Selection().second == 0;
}

bool EditBox::InsertValidated(const std::string& character) {
    if (Full()) return false;
    Signal::TextValidate validate(character, edit_.Text());
    SendSignalToSelf(validate);
    if (!validate.accepted) return false;
    edit_.Insert(character);
    return true;
}

void EditBox::Enter() {
    editing_ = false;
    if (ScreenManager* manager = FindScreenManager()) manager->SetFocus(nullptr);
    Signal::EditBoxSignal entered(edit_.Text());
    SendSignalToSelf(entered);
}

void EditBox::Changed() {
    Text::SetText(edit_.Text());
    RestartBlink();
    KeepCaretVisible();
    Redraw();
    Signal::String changed(edit_.Text());
    SendSignalToSelf(changed);
}

// --- focus and pointer ----------------------------------------------------------------------

bool EditBox::HasFocus() {
    ScreenManager* manager = FindScreenManager();
    return manager && manager->Focus() == this;
}

void EditBox::TakeFocus() {
    if (ScreenManager* manager = FindScreenManager()) manager->SetFocus(this);
}

void EditBox::OnLeftButtonDown(Signal::LeftButtonDown& signal) {
    if (!IsVisible() || !HitTestLocal(signal.x, signal.y)) return;
    edit_.ClearAnchor();
    edit_.PlaceCaret(CaretIndexAt(signal.x));
    TakeFocus();
    RestartBlink();
    KeepCaretVisible();
    Redraw();
}

void EditBox::OnFocusChange(Signal::FocusChange& signal) {
    editing_ = signal.value == 0;
    if (editing_) {
        // Keys reach the selected object: the box takes the selection with the focus.
        if (!IsSelected()) Select();
        RestartBlink();
    } else {
        Deselect();
    }
    Redraw();
}

void EditBox::OnTimer(Signal::Timer& signal) {
    Text::OnTimer(signal);
    lastTimerMs_ = signal.elapsedMs;
    // Ticks stop while nothing needs them: a blink restarted meanwhile starts at this one.
    if (blinkPending_) {
        blinkPending_ = false;
        blinkStartMs_ = lastTimerMs_;
    }
    if (!editing_) return;
    const bool on = (lastTimerMs_ - blinkStartMs_) / kBlinkMs % 2 == 0;
    if (on == caretOn_) return;
    caretOn_ = on;
    Redraw();
}

void EditBox::RestartBlink() {
    blinkStartMs_ = lastTimerMs_;
    blinkPending_ = true;
    caretOn_ = true;
}

bool EditBox::CaretShown() const {
    if (!editing_ || !caretOn_ || edit_.Selection().second > 0) return false;
    ScreenManager* manager = const_cast<EditBox*>(this)->FindScreenManager();
    return manager && manager->Focus() == this;
}

// --- geometry -------------------------------------------------------------------------------

const EditBox::Metrics& EditBox::Measured() const {
    const std::string& text = edit_.Text();
    if (metrics_.font == GetFont() && metrics_.text == text && !metrics_.boundaries.empty())
        return metrics_;
    metrics_ = Metrics{GetFont(), text, {0.0}, 0, 0};
    if (!GetFont()) return metrics_;
    // An empty line still has the height of the font's line.
    const Gfx::TextLayout::CaretStops stops =
        Gfx::TextLayout::MeasureCaretStops(*GetFont(), text.empty() ? " " : text);
    metrics_.height = stops.extent.height;
    if (text.empty()) return metrics_;
    metrics_.boundaries = stops.x;
    metrics_.width = stops.x.back();
    return metrics_;
}

double EditBox::LineHeight() const {
    return Measured().height;
}

double EditBox::CaretTextX() const {
    const std::vector<double>& boundaries = Measured().boundaries;
    return boundaries[std::min<std::size_t>(edit_.Caret(), boundaries.size() - 1)];
}

int EditBox::CaretX() const {
    return 2 + offsetX_ + static_cast<int>(std::lround(CaretTextX()));
}

int EditBox::CaretIndexAt(int x) const {
    const std::vector<double>& boundaries = Measured().boundaries;
    const double textX = x - 2 - offsetX_;
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < boundaries.size(); ++i)
        if (std::fabs(boundaries[i] - textX) < std::fabs(boundaries[nearest] - textX)) nearest = i;
    return static_cast<int>(nearest);
}

// The text scrolls only as far as it must to show the caret: it starts at the padding while it
// fits, and never leaves empty room at its end while it does not.
void EditBox::KeepCaretVisible() {
    if (!GetFont()) return;
    const int inner = GetWidth() - 4;
    offsetY_ = static_cast<int>(std::floor((GetHeight() - 4 - LineHeight()) / 2));
    const int textWidth = static_cast<int>(std::ceil(Measured().width));
    const int right = inner - kPadding - kCaretWidth;
    if (textWidth <= right - kPadding) {
        // A centred box (a big tempo display) keeps its text in the middle while it fits.
        offsetX_ =
            GetAlignment() == Centered ? std::max(kPadding, (inner - textWidth) / 2) : kPadding;
        return;
    }
    const int caret = static_cast<int>(std::lround(CaretTextX()));
    offsetX_ = std::min(std::max(offsetX_, kPadding - caret), right - caret);
    offsetX_ = std::max(std::min(offsetX_, kPadding), right - textWidth);
}

// --- drawing --------------------------------------------------------------------------------

bool EditBox::DrawSelf(Gfx::DrawContext& context) {
    // A window resized under a stretchable box remakes its font here, and the text moves.
    const Gfx::FontPtr before = GetFont();
    if (FontNeedsRefresh()) RefreshFont();
    if (GetFont() != before) KeepCaretVisible();
    if (!GetFont() || GetWidth() <= 4 || GetHeight() <= 4) return true;
    const Gfx::Font& font = *GetFont();
    const Gfx::Rect inner{static_cast<float>(GetX() + 2), static_cast<float>(GetY() + 2),
                          static_cast<float>(GetWidth() - 4), static_cast<float>(GetHeight() - 4)};
    const std::string& text = edit_.Text();
    const auto line = static_cast<float>(LineHeight());
    const Gfx::Rect textBox{inner.x + offsetX_, inner.y + offsetY_,
                            static_cast<float>(std::ceil(Measured().width)) + kCaretWidth, line};
    const ColourValue& colour = IsSelected() ? GetSelectedColor() : GetColor();

    context.PushClip(inner);
    if (!text.empty())
        context.DrawString(font, text, textBox, colour, Gfx::TextAlignment::Near,
                           Gfx::TextTrimming::None);
    if (const auto [first, count] = edit_.Selection(); count > 0) {
        const std::vector<double>& boundaries = Measured().boundaries;
        const auto left = static_cast<float>(boundaries[first]);
        const Gfx::Rect selected{textBox.x + left, textBox.y,
                                 static_cast<float>(boundaries[first + count]) - left, line};
        context.PushClip(selected);
        context.FillRect(selected, kSelectionFill);
        context.DrawString(font, text, textBox, kSelectionText, Gfx::TextAlignment::Near,
                           Gfx::TextTrimming::None);
        context.PopClip();
    } else if (CaretShown()) {
        context.FillRect({textBox.x + static_cast<float>(std::lround(CaretTextX())), textBox.y,
                          static_cast<float>(kCaretWidth), line},
                         colour);
    }
    context.PopClip();
    return true;
}

}  // namespace Pym
