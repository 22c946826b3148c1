#pragma once

#include <memory>
#include <vector>

#include "vis/VisBase.h"

// Several displays drawn as one, top to bottom, each in its share of the height.
class StackVis : public VisBase {
public:
    VisBase& Add(std::unique_ptr<VisBase> part, float share);

    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    void Sample() override;
    bool Tick(double seconds) override;
    bool Moving() const override;

private:
    std::vector<std::pair<std::unique_ptr<VisBase>, float>> parts_;
};
