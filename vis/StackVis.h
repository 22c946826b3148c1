#pragma once

#include <memory>
#include <vector>

#include "vis/VisBase.h"

// Several displays drawn as one, top to bottom, each in its share of the height.
class StackVis : public VisBase {
public:
    VisBase& Add(std::unique_ptr<VisBase> part, float share);

    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    Pym::Gfx::Rect ChangedArea(const Pym::Gfx::Rect& area) const override;
    void ForgetDrawn() override;
    void Sample() override;
    bool Tick(double seconds) override;
    bool Moving() const override;

private:
    // Calls `visit(part, rectangle)` for each part with its share of the rectangle.
    template <class Visit>
    void Split(int x, int y, int width, int height, Visit&& visit) const;

    std::vector<std::pair<std::unique_ptr<VisBase>, float>> parts_;
};
