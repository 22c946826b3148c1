#include "pym/gui/Backdrop.h"

#include <algorithm>

namespace Pym {

namespace {

std::vector<Backdrop*>& Live() {
    static std::vector<Backdrop*> live;
    return live;
}

unsigned treePaint = 0;  // counts the tree's paints
bool inTreePaint = false;
std::vector<Backdrop*> drawn;  // in the tree's paint under way: drawn with their children

bool Overlap(const Gfx::Rect& a, const Gfx::Rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

}  // namespace

Backdrop::Backdrop(GuiObject& owner) : owner_(owner) {
    Live().push_back(this);
}

Backdrop::~Backdrop() {
    std::erase(drawn, this);
    std::erase(Live(), this);
}

const std::vector<Backdrop*>& Backdrop::All() {
    return Live();
}

void Backdrop::PaintDone() {
    for (Backdrop* backdrop : Live()) backdrop->asked_ = false;
}

Backdrop::TreePaint::TreePaint() {
    ++treePaint;
    inTreePaint = true;
    drawn.clear();
}

Backdrop::TreePaint::~TreePaint() {
    inTreePaint = false;
    drawn.clear();
}

bool Backdrop::InTreePaint() {
    return inTreePaint;
}

void Backdrop::Reached(Gfx::DrawContext& context, const Gfx::Rect& rect, bool shows) {
    paint_ = treePaint;
    covered_ = false;
    fullAlpha_ = context.Alpha() >= 1.0f;
    const Gfx::Rect area = context.DeviceRect(rect);
    const int width = static_cast<int>(rect.width), height = static_cast<int>(rect.height);
    if (!(area == area_) || !image_ || image_->Width() != width || image_->Height() != height) {
        area_ = area;
        whole_ = false;
        if (width <= 0 || height <= 0) {
            image_.reset();
            return;
        }
        image_ = Gfx::Image::Blank(width, height);
    }
    if (!shows) return;
    // Pixels outside the clip were not painted anew: a copy once whole stays whole.
    const int copied = context.CopyUnder(*image_, rect);
    if (copied < 0)
        whole_ = false;
    else if (copied > 0)
        whole_ = true;
}

void Backdrop::Drawn() {
    drawn.push_back(this);
}

void Backdrop::Drawing(const Gfx::DrawContext& context, const Gfx::Rect& rect) {
    if (drawn.empty()) return;
    const Gfx::Rect area = context.DeviceRect(rect);
    for (Backdrop* backdrop : drawn)
        if (Overlap(area, backdrop->area_)) backdrop->covered_ = true;
}

bool Backdrop::Holds(const Gfx::Rect& area) const {
    return paint_ == treePaint && whole_ && fullAlpha_ && !covered_ && image_ && area == area_;
}

bool Backdrop::Paint(Gfx::DrawContext& context) const {
    return image_ && context.CopyOver(*image_, area_);
}

}  // namespace Pym
