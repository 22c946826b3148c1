#pragma once

#include <functional>
#include <string>
#include <utility>

namespace Pym {

// The text of a one-line edit box with its caret and selection anchor. Positions count
// characters, not bytes, so neither can ever fall inside a multi-byte UTF-8 character; the
// text is kept valid UTF-8.
//
// The caret lies in [0, length]. The anchor is -1 without a selection; with one, the
// selection covers the characters from min(caret, anchor) to max(caret, anchor), both
// included (as far as the text reaches).
class EditText {
public:
    const std::string& Text() const { return text_; }
    // Replaces the text (invalid UTF-8 made valid); the caret goes to the end, the anchor away.
    void SetText(const std::string& text);
    int Length() const { return length_; }
    int Caret() const { return caret_; }
    int Anchor() const { return anchor_; }
    bool HasSelection() const { return anchor_ >= 0; }
    // The selected characters as (first, count); count 0 when nothing is covered.
    std::pair<int, int> Selection() const;
    std::string SelectedText() const;
    void ClearAnchor() { anchor_ = -1; }
    void PlaceCaret(int caret);

    // Caret moves; with `extend` (Shift held) they grow or start a selection.
    void End(bool extend);
    void Home(bool extend);
    void Left(bool extend);
    void Right(bool extend);

    // Edits; each clears the anchor.
    void Backspace();
    void Delete();
    // Inserts one character at the caret, replacing the selection.
    void Insert(const std::string& character);

private:
    std::size_t ByteOffset(int characters) const;
    void Erase(int first, int count);
    bool RemoveSelection();

    std::string text_;
    int length_ = 0;
    int caret_ = 0;
    int anchor_ = -1;
};

// Hands each character of UTF-8 text (invalid bytes replaced) to `take`, in order, until it
// returns false.
void ForEachCharacter(const std::string& text, const std::function<bool(const std::string&)>& take);

}  // namespace Pym
