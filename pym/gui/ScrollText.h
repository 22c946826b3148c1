#pragma once

#include <memory>
#include <string>

#include "pym/gfx/Font.h"
#include "pym/gui/ClippedWindow.h"
#include "pym/gui/WheelNotches.h"

namespace Pym {

// Text wrapped to the width of its box; when it is taller than the box it scrolls: by the
// wheel over it, and by itself at "ScrollSpeed" pixels a second when that is above 0 (down to
// the end, a pause, back to the top). Reads "Text", "Font", "Color" (all required) and
// "ScrollSpeed".
class ScrollText : public ClippedWindow {
public:
    ScrollText();
    ~ScrollText() override;

    void SetText(const std::string& text);
    const std::string& GetText() const;
    // How far the text can scroll: its height beyond the box's.
    int Range() const;
    void ScrollTo(int y);

    bool Resize(int width, int height) override;
    void OnMouseWheel(Signal::MouseWheel& signal) override;
    void OnTimer(Signal::Timer& signal) override;
    bool NeedsTicks() const override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    class Page;
    // Wraps the text at the box's width and takes the height it needs.
    void FitPage();

    std::unique_ptr<Page> page_;
    float speed_ = 0.0f;
    WheelNotches wheel_;
    // Automatic scrolling: where it is (fractional pixels) and when it last moved.
    double autoOffset_ = 0.0;
    int lastTickMs_ = -1;
    int pauseUntilMs_ = -1;
    bool fitting_ = false;
};

}  // namespace Pym
