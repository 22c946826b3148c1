#include "pym/gui/EditText.h"

#include <algorithm>

#include "pym/gfx/TextLayout.h"

namespace Pym {

namespace {

bool IsContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

int CountCharacters(const std::string& text) {
    return static_cast<int>(
        std::count_if(text.begin(), text.end(), [](char byte) { return !IsContinuation(byte); }));
}

}  // namespace

void ForEachCharacter(const std::string& text,
                      const std::function<bool(const std::string&)>& take) {
    const std::string valid = Gfx::TextLayout::ValidUtf8(text);
    std::string character;
    for (std::size_t at = 0; at < valid.size();) {
        std::size_t end = at + 1;
        while (end < valid.size() && IsContinuation(valid[end])) ++end;
        character.assign(valid, at, end - at);
        if (!take(character)) return;
        at = end;
    }
}

void EditText::SetText(const std::string& text) {
    text_ = Gfx::TextLayout::ValidUtf8(text);
    length_ = CountCharacters(text_);
    caret_ = length_;
    anchor_ = -1;
}

std::pair<int, int> EditText::Selection() const {
    if (anchor_ < 0) return {std::min(caret_, length_), 0};
    const int first = std::min(caret_, anchor_);
    const int last = std::min(std::max(caret_, anchor_), length_ - 1);
    return {first, std::max(last - first + 1, 0)};
}

std::string EditText::SelectedText() const {
    const auto [first, count] = Selection();
    const std::size_t from = ByteOffset(first);
    return text_.substr(from, ByteOffset(first + count) - from);
}

void EditText::PlaceCaret(int caret) {
    caret_ = std::clamp(caret, 0, length_);
}

void EditText::End(bool extend) {
    if (!extend)
        anchor_ = -1;
    else if (anchor_ < 0)
        anchor_ = caret_;
    caret_ = length_;
}

void EditText::Home(bool extend) {
    if (!extend)
        anchor_ = -1;
    else if (anchor_ < 0)
        anchor_ = caret_ = caret_ - 1;  // -1 from the start: nothing to select
    caret_ = 0;
}

void EditText::Left(bool extend) {
    if (!extend) {
        anchor_ = -1;
        caret_ = std::max(caret_ - 1, 0);
        return;
    }
    const bool started = anchor_ < 0;
    --caret_;
    if (started) anchor_ = caret_;
    caret_ = std::max(caret_, 0);
    anchor_ = std::max(anchor_, 0);
}

void EditText::Right(bool extend) {
    if (!extend)
        anchor_ = -1;
    else if (anchor_ < 0) {
        anchor_ = caret_;
        return;
    }
    caret_ = std::min(caret_ + 1, length_);
}

void EditText::Backspace() {
    if (!RemoveSelection() && caret_ > 0) {
        Erase(caret_ - 1, 1);
        --caret_;
    }
    anchor_ = -1;
}

void EditText::Delete() {
    if (!RemoveSelection() && caret_ < length_) Erase(caret_, 1);
    anchor_ = -1;
}

void EditText::Insert(const std::string& character) {
    RemoveSelection();
    anchor_ = -1;
    const std::string valid = Gfx::TextLayout::ValidUtf8(character);
    text_.insert(ByteOffset(caret_), valid);
    const int added = CountCharacters(valid);
    length_ += added;
    caret_ += added;
}

std::size_t EditText::ByteOffset(int characters) const {
    std::size_t at = 0;
    for (int seen = 0; at < text_.size(); ++at) {
        if (IsContinuation(text_[at])) continue;
        if (seen++ == characters) break;
    }
    return at;
}

void EditText::Erase(int first, int count) {
    if (count <= 0) return;
    const std::size_t from = ByteOffset(first);
    text_.erase(from, ByteOffset(first + count) - from);
    length_ -= count;
}

bool EditText::RemoveSelection() {
    if (anchor_ < 0) return false;
    const auto [first, count] = Selection();
    Erase(first, count);
    caret_ = first;
    anchor_ = -1;
    return true;
}

}  // namespace Pym
