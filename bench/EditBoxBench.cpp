// What the edit box costs the GUI thread: a typed key (validation, insertion, keeping the
// caret in view, the String signal) into an empty and into a full box, a paste far longer
// than the box holds, and a repaint of a full box with a selection. Each should stay well
// under a frame (10 ms); a key under 1 ms.
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include <tinyxml.h>

#include "platform/HostWindow.h"
#include "pym/gfx/CairoDrawContext.h"
#include "pym/gfx/Image.h"
#include "pym/gui/EditBox.h"
#include "pym/gui/ScreenManager.h"

namespace {

// No windows: only the clipboard, held in memory.
class ClipboardOnlyHost : public Platform::HostSystem {
public:
    std::unique_ptr<Platform::HostWindow> CreateWindow(Platform::WindowKind, Platform::HostWindow*,
                                                       const Platform::HostRect&,
                                                       const std::string&, bool) override {
        return nullptr;
    }
    void RunLoop(const std::function<bool()>&) override {}
    void Post(std::function<void()> work) override { work(); }
    bool GetClipboardText(std::string& text) override {
        text = clipboard;
        return true;
    }
    bool SetClipboardText(const std::string& text) override {
        clipboard = text;
        return true;
    }
    bool ShiftDown() const override { return shift; }
    std::string clipboard;
    bool shift = false;
};

double MicrosecondsPer(int count, const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) work();
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / count;
}

void Key(Pym::EditBox& box, unsigned code) {
    Pym::Signal::KeyPress key(static_cast<int>(code));
    box.OnKeyPress(key);
}

}  // namespace

int main() {
    ClipboardOnlyHost host;
    Platform::SetHost(&host);
    TiXmlDocument document;
    document.Parse(
        "<Pym::EditBox Stretchable=\"0\" Text=\"\" Color=\"232,234,240,255\" "
        "SelectedColor=\"255,138,61,255\"><Font Family=\"Inter, DejaVu Sans\" Size=\"14\" "
        "Style=\"Regular\" Conversion=\"Point\"/></Pym::EditBox>");
    Pym::ScreenManager manager;
    Pym::EditBox box;
    if (!box.Build(document.RootElement())) {
        std::fprintf(stderr, "edit box not built\n");
        return 1;
    }
    box.SetScreenManager(&manager);
    box.Resize(200, 30);

    // A tempo's worth of text, as a box usually holds.
    box.SetText("120.5");
    const double usual = MicrosecondsPer(500, [&] {
        Key(box, 8);
        Key(box, '5');
    });
    std::printf("Backspace and a key in a box holding 5 characters: %.1f us per pair\n", usual);
    box.SetText("");

    const int full = Pym::EditBox::kMaxCharacters;
    const double typed = MicrosecondsPer(full, [&] { Key(box, '7'); });
    std::printf("typing %d keys into an empty box: %.1f us per key\n", full, typed);
    const double atLimit = MicrosecondsPer(200, [&] {
        Key(box, 8);
        Key(box, '8');
    });
    std::printf("Backspace and a key in a full box (%d characters): %.1f us per pair\n", full,
                atLimit);

    host.clipboard.assign(1'000'000, '9');
    const double paste = MicrosecondsPer(5, [&] {
        box.SetText("");
        Key(box, 22);
    });
    std::printf("pasting 1000000 characters (kept: %d): %.2f ms\n", box.Edited().Length(),
                paste / 1000.0);

    // Twenty characters selected in a box scrolled to its start.
    Key(box, Platform::kKeyDownBit | Platform::KeyHome);
    host.shift = true;
    for (int i = 0; i < 20; ++i) Key(box, Platform::kKeyDownBit | Platform::KeyRight);
    host.shift = false;
    auto canvas = Pym::Gfx::Image::Blank(200, 30);
    Pym::Gfx::CairoDrawContext context(*canvas);
    const double draw = MicrosecondsPer(200, [&] { box.Draw(context); });
    std::printf("drawing a full box with a selection: %.1f us\n", draw);
    Platform::SetHost(nullptr);
    return 0;
}
