#pragma once

#include <memory>

#include "pym/gui/NewListBox.h"
#include "pym/gui/ScrollWindow.h"

namespace Pym {

// A list box in a scroll window: the list as wide as the viewport and as tall as its rows,
// a wheel notch or an arrow step scrolling one row, and the active entry kept in view. The
// list reads its look from the same element ("ActiveOverlayColor" required, as for
// `Pym::NewListBox`) and announces its choices as the list box does.
class NewScrolledListBox : public ScrollWindow {
public:
    NewScrolledListBox();
    ~NewScrolledListBox() override;

    NewListBox& List() { return *list_; }
    void AddEntry(const std::string& name, const std::string& text = std::string()) {
        list_->AddEntry(name, text);
    }
    void Clear() { list_->Clear(); }
    void SetActive(int index) { list_->SetActive(index); }
    int GetActive() const { return list_->GetActive(); }
    std::string GetActiveName() const { return list_->GetActiveName(); }
    // Scrolls so the active row is in view.
    void ShowActive();

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    void FitContent(int viewportWidth, int viewportHeight) override;

private:
    std::unique_ptr<NewListBox> list_;
};

}  // namespace Pym
