#pragma once

#include <memory>
#include <vector>

#include "vis/VisBase.h"

// A display that shows one of several views at a time, each in its own whole rectangle; a click
// steps to the next view, after the last comes the first. The view shown can be remembered in
// the profile under the display's name.
class Vis : public VisBase {
public:
    Vis();

    // Appends a view; the display owns it. Views are not children in the object tree: only the
    // one shown is drawn, sampled and ticked, through the display.
    VisBase& AddView(std::unique_ptr<VisBase> view);
    VisBase* Current() const;
    int CurrentIndex() const { return current_; }
    int ViewCount() const { return static_cast<int>(views_.size()); }
    void Next();
    void ShowView(int index);

    // The view stored under the display's name, when it is one of the views.
    void RestoreView();
    void SaveView() const;

    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    Pym::Gfx::Rect ChangedArea(const Pym::Gfx::Rect& area) const override;
    void ForgetDrawn() override;
    void Sample() override;
    bool Tick(double seconds) override;
    bool Moving() const override;
    bool Resize(int width, int height) override;

private:
    std::vector<std::unique_ptr<VisBase>> views_;
    int current_ = -1;
};
