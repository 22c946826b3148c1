#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pym/gui/AppWindow.h"

namespace Pym {

// The program's own skinned message box: a message and one button per caption, made from a
// button template document. Running it modally answers with the caption of the pressed button.
class MessageBoxA : public AppWindow {
public:
    static constexpr int kDefaultMaxButtons = 4;

    MessageBoxA() = default;
    ~MessageBoxA() override;

    // Splits a caption list at commas and double quotes; parts are trimmed of spaces and
    // blank ones dropped.
    static std::vector<std::string> SplitCaptions(const std::string& list);

    // Builds one button per caption ("OK" for none) across "ButtonContainer", evenly spaced,
    // and shows the text in "Message".
    void SetMessage(const std::string& text, const std::string& buttons);
    // The caption of the button that closed the box; empty when it was closed another way.
    const std::string& GetResult() const { return result_; }

    void ButtonClickedSlot(Signal::Activate& signal);

    // The box whose question is on the screen now (the innermost one), or null. For the GUI
    // thread only.
    static MessageBoxA* Showing();

    int MaxButtons() const { return maxButtons_; }
    const std::string& ButtonTemplate() const { return buttonTemplate_; }
    // The buttons in caption order.
    std::vector<GuiObject*> Buttons() const;

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    struct Button {
        std::unique_ptr<GuiObject> object;
        std::string caption;
    };

    GuiObject* CreateButton(const std::string& caption);
    void RemoveButtons();

    int maxButtons_ = kDefaultMaxButtons;
    std::string buttonTemplate_;
    std::string result_;
    std::vector<Button> buttons_;
    GridLayout* container_ = nullptr;
};

// Asks a question in the message box of "XML/Main/MessageBox.xml" and returns the caption of
// the answer, or empty when the box was closed without one. While it runs, `relativeTo` (when
// given) takes no input and the box is placed relative to it. A skin without the document or
// its parts throws XMLLoadSaveException.
std::string RunMessageBox(const std::string& text, const std::string& buttons,
                          Window* relativeTo = nullptr);

// The same, relative to the window that contains `caller`.
std::string ShowMessageBox(GuiObject& caller, const std::string& text, const std::string& buttons);

}  // namespace Pym
