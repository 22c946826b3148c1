#pragma once

#include <string>
#include <vector>

#include "pym/gui/GridLayout.h"

namespace Pym {
class ImageButton;
class Text;
}  // namespace Pym

// The application's drop-down button: shows the current choice as the text of its child
// "ButtonText" (an image button whose three pictures are texts) over the pictures of its
// child "Button", and passes its selection on to both. Until a controller sets a choice it
// shows its own name. Raises "MenuButton::SignalStartAnimation" when its choice changes.
class MenuButton : public Pym::GridLayout {
public:
    MenuButton();

    // Sets the text of all three state texts.
    void SetText(const std::string& text);
    // The text of the selected-state text; empty without one.
    std::string GetText() const;

    void OnSelectObject(Pym::Signal::SelectObject& signal) override;

    Pym::GuiObject* Button() const { return button_; }
    Pym::ImageButton* ButtonText() const { return buttonText_; }

protected:
    void CreateFromXml(TiXmlElement* element) override;
    // The state texts of "ButtonText": selected, unselected, mouse-over (those that are
    // texts).
    std::vector<Pym::Text*> StateTexts() const;
    // The choice shown changed (never while the button is being built).
    virtual void OnTextChanged() { RaiseStartAnimation(); }
    // The button's selected state changed.
    virtual void OnSelectionChanged(bool /*selected*/) {}
    // Raises this class's own SignalStartAnimation.
    virtual void RaiseStartAnimation();
    template <class S>
    void Raise() {
        S signal;
        SendSignalToSelf(signal);
    }

private:
    Pym::GuiObject* button_ = nullptr;
    Pym::ImageButton* buttonText_ = nullptr;
    bool wasSelected_ = false;
};

// A menu button for a drop-down list: its state texts are centred in the field at
// construction, as a list's current choice reads. Raises
// "ComboMenuButton::SignalStartAnimation" when its choice changes.
class ComboMenuButton : public MenuButton {
protected:
    void CreateFromXml(TiXmlElement* element) override;
    void RaiseStartAnimation() override;
};

// A menu button in a container that moves the focus between its children: it takes its place
// again from its parent when the window is resized, and raises
// "FocusMenuButton::SignalStartAnimation" when it becomes selected (takes the focus).
class FocusMenuButton : public MenuButton {
public:
    void OnWindowSized(Pym::Signal::WindowSized& signal) override;

protected:
    void OnTextChanged() override {}
    void OnSelectionChanged(bool selected) override;
    void RaiseStartAnimation() override;
};
