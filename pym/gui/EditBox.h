#pragma once

#include <string>
#include <vector>

#include "pym/gui/EditText.h"
#include "pym/gui/Text.h"

namespace Pym {

class ScreenManager;

// A one-line text field. It edits while it holds its window's keyboard focus (taken by a
// click, or by a key while it is selected) until Enter or a click elsewhere. Each insertion is
// first put to the validators connected to its Validate signal; each change is announced with
// String, and Enter announces the text with EditBoxSignal. Copy, cut and paste go through the
// window's clipboard.
class EditBox : public Text {
public:
    // Longest text the box holds, in characters: a paste of any length leaves it usable.
    static constexpr int kMaxCharacters = 1024;
    // Inside the 2-pixel inset, between the text and the box's ends.
    static constexpr int kPadding = 4;
    static constexpr int kCaretWidth = 2;
    static constexpr int kBlinkMs = 530;

    EditBox();

    void SetText(const std::string& text) override;
    const EditText& Edited() const { return edit_; }
    bool IsEditing() const { return editing_; }
    // Where the text's top-left lies, relative to the box's inset area.
    int TextOffsetX() const { return offsetX_; }
    int TextOffsetY() const { return offsetY_; }
    // The caret's left edge in the box's own coordinates.
    int CaretX() const;
    bool CaretShown() const;

    bool DrawSelf(Gfx::DrawContext& context) override;
    bool Resize(int width, int height) override;
    // Keeps the size the skin gave it (a text would shrink to its words).
    void OnLayoutReady() override;

    void OnKeyPress(Signal::KeyPress& signal) override;
    void OnLeftButtonDown(Signal::LeftButtonDown& signal) override;
    void OnFocusChange(Signal::FocusChange& signal) override;
    void OnTimer(Signal::Timer& signal) override;
    bool NeedsTicks() const override { return Text::NeedsTicks() || editing_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    bool Handles(unsigned key) const;
    void Navigate(unsigned key);
    void Copy();
    void Cut();
    void Paste();
    // No room for another character.
    bool Full() const;
    // Puts one character to the validators and inserts it if they all accept.
    bool InsertValidated(const std::string& character);
    void Enter();
    // Shows the new text and announces it with String.
    void Changed();
    void TakeFocus();
    bool HasFocus();
    void RestartBlink();
    void KeepCaretVisible();
    // The text's extent and where each caret position lies, measured once per text and font.
    struct Metrics {
        Gfx::FontPtr font;
        std::string text;
        std::vector<double> boundaries;  // x of the caret positions 0..length
        double width = 0;
        double height = 0;
    };
    const Metrics& Measured() const;
    double CaretTextX() const;
    int CaretIndexAt(int x) const;
    double LineHeight() const;

    EditText edit_;
    bool editing_ = false;
    int offsetX_ = kPadding;
    int offsetY_ = 0;
    int lastTimerMs_ = 0;
    int blinkStartMs_ = 0;
    bool blinkPending_ = false;
    bool caretOn_ = true;
    mutable Metrics metrics_;
};

}  // namespace Pym
