#pragma once

#include <string>
#include <vector>

#include "pym/gfx/DrawContext.h"
#include "pym/gui/GridLayout.h"
#include "pym/gui/GuiObject.h"
#include "pym/gui/ScreenManager.h"

namespace Testing {

// Records what objects ask of their window's screen manager.
class RecordingScreenManager : public Pym::ScreenManager {
public:
    struct Area {
        int x, y, width, height;
        bool operator==(const Area&) const = default;
    };
    void Invalidate(int x, int y, int width, int height) override {
        invalidated.push_back({x, y, width, height});
    }
    void ActivateScreen(const std::string& name, bool addToBackStack) override {
        activated.emplace_back(name, addToBackStack);
    }
    void ClearPointerRecords() override { ++pointerClears; }

    std::vector<Area> invalidated;
    std::vector<std::pair<std::string, bool>> activated;
    int pointerClears = 0;
};

// A drawing context that keeps the current alpha and offset and records what was drawn.
class RecordingDrawContext : public Pym::Gfx::DrawContext {
public:
    struct Drawn {
        std::string what;
        float alpha;
        float x, y;
    };
    float PushAlpha(float a) override {
        float saved = alpha;
        alpha = std::clamp(alpha * a, 0.0f, 1.0f);
        return saved;
    }
    void PopAlpha(float saved) override { alpha = std::clamp(saved, 0.0f, 1.0f); }
    float Alpha() const override { return alpha; }
    void Translate(float dx, float dy) override {
        x += dx;
        y += dy;
    }
    void Rotate(float) override {}
    void Scale(float, float) override {}
    void PushClip(const Pym::Gfx::Rect&) override {}
    void PopClip() override {}
    bool FillRect(const Pym::Gfx::Rect&, const Pym::ColourValue&) override {
        return Record("rect");
    }
    bool FillGradient(const Pym::Gfx::Rect&, const Pym::ColourValue&,
                      const Pym::ColourValue&) override {
        return Record("gradient");
    }
    bool DrawLine(const Pym::Gfx::Pen&, Pym::Gfx::Point, Pym::Gfx::Point) override {
        return Record("line");
    }
    bool Draw3DRect(const Pym::Gfx::Rect&, const Pym::Gfx::Pen&, const Pym::Gfx::Pen&) override {
        return Record("3d");
    }
    void SetClip(const Pym::Gfx::Region&) override {}
    bool DrawImage(const Pym::Gfx::Image&, const Pym::Gfx::Rect&, int) override {
        return Record("image");
    }
    bool DrawString(const Pym::Gfx::Font&, const std::string& text, const Pym::Gfx::Rect&,
                    const Pym::ColourValue&, Pym::Gfx::TextAlignment,
                    Pym::Gfx::TextTrimming) override {
        return Record("text:" + text);
    }
    bool Record(const std::string& what) {
        drawn.push_back({what, alpha, x, y});
        return true;
    }

    float alpha = 1.0f;
    float x = 0.0f, y = 0.0f;
    std::vector<Drawn> drawn;
};

// A leaf that draws one rectangle labelled with its name and counts what reaches it.
class Probe : public Pym::GuiObject {
public:
    Probe() = default;
    explicit Probe(const std::string& name, int notSelectable = 0) : GuiObject(notSelectable) {
        SetName(name);
    }
    bool DrawSelf(Pym::Gfx::DrawContext& context) override {
        auto& recording = static_cast<RecordingDrawContext&>(context);
        recording.Record(GetName());
        return true;
    }
    void OnKeyPress(Pym::Signal::KeyPress& signal) override { keys.push_back(signal.key); }
    std::vector<int> keys;
};

// A probe of its own size, for the layouts to place.
struct Sized : Probe {
    Sized(const std::string& name, int width, int height) : Probe(name) { Resize(width, height); }
};

// A grid container of a given size made in code.
inline std::unique_ptr<Pym::GridLayout> MakeGrid(const std::string& name, int width, int height) {
    auto grid = std::make_unique<Pym::GridLayout>();
    grid->SetName(name);
    grid->Resize(width, height);
    return grid;
}

// Connects a call that appends `label` to `log` whenever `signalId` reaches `object`.
inline void Log(Pym::GuiObject& object, int signalId, std::vector<std::string>& log,
                const std::string& label) {
    object.ConnectSlot(signalId, nullptr, [&log, label](Pym::Signal::Base&, Pym::GuiObject*) {
        log.push_back(label);
    });
}

}  // namespace Testing
