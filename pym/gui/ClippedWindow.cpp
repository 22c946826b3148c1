#include "pym/gui/ClippedWindow.h"

#include <algorithm>
#include <optional>

#include "pym/gfx/DrawContext.h"

namespace Pym {

namespace {

// Far enough that nothing inside the content lies there.
constexpr int kOutOfReach = -32768;

}  // namespace

void ClippedWindow::SetContent(GuiObject* content) {
    if (content_) {
        // Let go of it entirely: an object that still named this one as its parent would
        // reach back into it after it is gone.
        ForgetChild(content_);
        Relayout();
    }
    content_ = content;
    if (content_) AddChild(content_, true);
}

void ClippedWindow::SetScroll(int x, int y, int width, int height) {
    Resize(width, height);
    scrollX_ = x;
    scrollY_ = y;
}

bool ClippedWindow::Resize(int width, int height) {
    if (resizeContent_)
        for (GuiObject* child : Children()) child->Resize(width, height);
    return GuiObject::Resize(width, height);
}

void ClippedWindow::AddAbsoluteX(int& value) const {
    value -= scrollX_;
    GuiObject::AddAbsoluteX(value);
}

void ClippedWindow::AddAbsoluteY(int& value) const {
    value -= scrollY_;
    GuiObject::AddAbsoluteY(value);
}

int ClippedWindow::GetAbsoluteX() const {
    int value = 0;
    GuiObject::AddAbsoluteX(value);
    return value;
}

int ClippedWindow::GetAbsoluteY() const {
    int value = 0;
    GuiObject::AddAbsoluteY(value);
    return value;
}

void ClippedWindow::Draw(Gfx::DrawContext& context) {
    if (!content_ || GetWidth() <= 0 || GetHeight() <= 0) return;
    if (!IsVisible() || GetAlpha() <= 0.0f) return;
    std::optional<Gfx::AlphaScope> alpha;
    if (GetAlpha() < 1.0f) alpha.emplace(context, GetAlpha());
    context.PushClip({static_cast<float>(GetX()), static_cast<float>(GetY()),
                      static_cast<float>(GetWidth()), static_cast<float>(GetHeight())});
    const float dx = static_cast<float>(GetX() - scrollX_);
    const float dy = static_cast<float>(GetY() - scrollY_);
    context.Translate(dx, dy);
    content_->Draw(context);
    context.Translate(-dx, -dy);
    context.PopClip();
}

// --- signals ------------------------------------------------------------------------------

bool ClippedWindow::HitsViewport(const Signal::Base& signal) const {
    if (!signal.IsPositional()) return false;
    const auto& point = static_cast<const Signal::Positional&>(signal);
    return IsVisible() && HitTestLocal(point.x + point.offsetX, point.y + point.offsetY);
}

bool ClippedWindow::ContentWants(const Signal::Base& signal) const {
    if (!content_) return false;
    if (signal.IsBroadcast()) return true;
    if (!content_->IsVisible()) return false;
    return content_->IsSelected() || content_->HasSelectedDescendant() || HitsViewport(signal);
}

bool ClippedWindow::WantsSignalForChildren(const Signal::Base& signal) {
    // The route asks this only when it would descend: the content is then due, delivered by
    // HandleSignal at this object's turn.
    if (ContentWants(signal)) dueForContent_.push_back(&signal);
    return false;
}

bool ClippedWindow::WantsSignal(const Signal::Base& signal) {
    auto due = std::find(dueForContent_.begin(), dueForContent_.end(), &signal);
    if (due != dueForContent_.end()) return true;
    return GuiObject::WantsSignal(signal);
}

void ClippedWindow::HandleSignal(Signal::Base& signal) {
    auto due = std::find(dueForContent_.begin(), dueForContent_.end(), &signal);
    if (due != dueForContent_.end()) {
        dueForContent_.erase(due);
        DeliverToContent(signal);
    }
    GuiObject::HandleSignal(signal);
}

void ClippedWindow::DeliverToContent(Signal::Base& signal) {
    GuiObject* content = content_;
    std::vector<Signal::RouteEntry> route;
    route.swap(signal.route);  // the content's route is built in the same signal
    if (!signal.IsPositional()) {
        content->DeliverSignal(signal, true);
        signal.route.swap(route);
        return;
    }
    auto& point = static_cast<Signal::Positional&>(signal);
    const int savedX = point.x, savedY = point.y;
    const int savedOffsetX = point.offsetX, savedOffsetY = point.offsetY;
    // Here the point is in this object's coordinates and the offset is what made them; the
    // content's route starts from the host window's, shifted by the scroll.
    const bool inside = IsVisible() && HitTestLocal(point.x, point.y);
    point.x = point.x - point.offsetX + scrollX_;
    point.y = point.y - point.offsetY + scrollY_;
    if (!inside) {
        point.x += kOutOfReach;
        point.y += kOutOfReach;
    }
    point.offsetX = point.offsetY = 0;
    content->DeliverSignal(signal, true);
    point.x = savedX;
    point.y = savedY;
    point.offsetX = savedOffsetX;
    point.offsetY = savedOffsetY;
    signal.route.swap(route);
}

void ClippedWindow::ForgetChild(GuiObject* child) {
    GuiObject::ForgetChild(child);
    if (child == content_) content_ = nullptr;
}

}  // namespace Pym
