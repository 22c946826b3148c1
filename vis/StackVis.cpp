#include "vis/StackVis.h"

#include <cmath>

VisBase& StackVis::Add(std::unique_ptr<VisBase> part, float share) {
    parts_.emplace_back(std::move(part), std::isfinite(share) && share > 0.0f ? share : 0.0f);
    return *parts_.back().first;
}

template <class Visit>
void StackVis::Split(int x, int y, int width, int height, Visit&& visit) const {
    float total = 0.0f;
    for (const auto& [part, share] : parts_) total += share;
    if (total <= 0.0f) return;
    float top = 0.0f;
    for (const auto& [part, share] : parts_) {
        const int from = static_cast<int>(std::lround(top / total * height));
        top += share;
        const int to = static_cast<int>(std::lround(top / total * height));
        visit(*part, x, y + from, width, to - from);
    }
}

void StackVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) {
    Split(x, y, width, height, [&context](VisBase& part, int px, int py, int pw, int ph) {
        part.DrawVis(context, px, py, pw, ph);
    });
}

Pym::Gfx::Rect StackVis::ChangedArea(const Pym::Gfx::Rect& area) const {
    Pym::Gfx::Rect changed;
    Split(static_cast<int>(area.x), static_cast<int>(area.y), static_cast<int>(area.width),
          static_cast<int>(area.height), [&changed](VisBase& part, int px, int py, int pw, int ph) {
              changed = Union(changed, part.ChangedArea(AreaOf(px, py, pw, ph)));
          });
    return changed;
}

void StackVis::ForgetDrawn() {
    for (const auto& [part, share] : parts_) part->ForgetDrawn();
}

void StackVis::Sample() {
    for (const auto& [part, share] : parts_) part->Sample();
}

bool StackVis::Moving() const {
    for (const auto& [part, share] : parts_)
        if (part->Moving()) return true;
    return false;
}

bool StackVis::Tick(double seconds) {
    bool moved = false;
    for (const auto& [part, share] : parts_) moved = part->Tick(seconds) || moved;
    return moved;
}
