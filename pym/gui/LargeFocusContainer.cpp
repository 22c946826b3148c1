#include "pym/gui/LargeFocusContainer.h"

#include <algorithm>
#include <cmath>

#include "pym/core/Clock.h"
#include "pym/gfx/DrawContext.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered = RegisterType<LargeFocusContainer>(
    "Pym::LargeFocusContainer", "$PYM/Objects/LargeFocusContainer/LargeFocusContainer.xml");

// Below this an item is not worth drawing (or clicking).
constexpr float kFaintest = 0.02f;

GridVal Share(float value) {
    return GridVal(0.0f, value);
}

}  // namespace

LargeFocusContainer::LargeFocusContainer() : GridLayout(/*notSelectable=*/0) {
    SubscribeTicks();
    SetSelected(true);
}

LargeFocusContainer::~LargeFocusContainer() {
    RemoveAllItems();
}

bool LargeFocusContainer::LoadFromXml(TiXmlElement* element) {
    if (!GridLayout::LoadFromXml(element)) return false;
    float share = geometry_.FocusShare(), ratio = itemAspectRatio_;
    int glideMs = static_cast<int>(std::lround(glideSeconds_ * 1000.0));
    ReadAttribute(share, element, "FocusFraction");
    ReadAttribute(ratio, element, "ItemAspectRatio");
    ReadAttribute(glideMs, element, "GlideMS");
    SetFocusShare(share);
    SetItemAspectRatio(ratio);
    glideSeconds_ = std::max(glideMs, 0) * 0.001;
    return true;
}

void LargeFocusContainer::AddToLayout(GuiObject* child, TiXmlElement*, AnimationPtr) {
    AddItem(child);
}

// --- items --------------------------------------------------------------------------------

void LargeFocusContainer::AddItem(GuiObject* item) {
    if (!item) return;
    auto cell = std::make_unique<AspectPreservingContainer>();
    cell->SetName("LargeFocusCell");
    cell->SetAspectRatio(itemAspectRatio_);
    AddChildAtFractions(cell.get(), 0.0f, 0.0f, 0.0f, 0.0f);
    cell->SetContent(item);
    cells_.push_back(std::move(cell));
    if (focus_ < 0) {
        focus_ = 0;
        position_ = 0.0;
    }
    PlaceItems();
    Redraw();
}

void LargeFocusContainer::RemoveAllItems() {
    // Destroying a cell takes it out of the layout and lets its item go.
    cells_.clear();
    focus_ = -1;
    position_ = 0.0;
    gliding_ = false;
    wheel_.Reset();
}

GuiObject* LargeFocusContainer::ItemAt(int index) const {
    if (index < 0 || index >= ItemCount()) return nullptr;
    return cells_[index]->GetContent();
}

int LargeFocusContainer::FindItem(const std::string& name) const {
    for (int i = 0; i < ItemCount(); ++i)
        if (GuiObject* item = ItemAt(i); item && item->GetName() == name) return i;
    return -1;
}

void LargeFocusContainer::SetFocusShare(float share) {
    geometry_.SetFocusShare(share);
    PlaceItems();
}

void LargeFocusContainer::SetItemAspectRatio(float ratio) {
    itemAspectRatio_ = ratio;
    for (const auto& cell : cells_) cell->SetAspectRatio(ratio);
}

// --- focus --------------------------------------------------------------------------------

bool LargeFocusContainer::SetFocusIndex(int index) {
    if (index < 0 || index >= ItemCount()) return false;
    const bool moves = index != focus_ || gliding_;
    marked_ = true;
    focus_ = index;
    MarkFocused();
    if (!moves) {
        Redraw();
        return true;
    }
    if (glideSeconds_ <= 0.0) {
        position_ = focus_;
        gliding_ = false;
        PlaceItems();
    } else {
        glideFrom_ = position_;
        glideStart_ = ClockSeconds();
        gliding_ = true;
    }
    Redraw();
    return true;
}

void LargeFocusContainer::ClearSelection() {
    marked_ = false;
    MarkFocused();
    Redraw();
}

namespace {

// An item made of parts (a name over a number) shows chosen in every part.
void MarkTree(GuiObject& object, bool chosen) {
    object.SetForceSelected(chosen);
    for (GuiObject* child : object.Children()) MarkTree(*child, chosen);
}

}  // namespace

void LargeFocusContainer::MarkFocused() {
    for (int i = 0; i < ItemCount(); ++i)
        if (GuiObject* item = ItemAt(i)) MarkTree(*item, marked_ && i == focus_);
}

bool LargeFocusContainer::MoveFocus(int steps) {
    if (cells_.empty()) return false;
    const int target = std::clamp(focus_ + steps, 0, ItemCount() - 1);
    if (target == focus_) return false;
    SetFocusIndex(target);
    Announce();
    return true;
}

void LargeFocusContainer::Announce() {
    GuiObject* item = ItemAt(focus_);
    Signal::String focused(item ? item->GetName() : std::string());
    SendSignalToSelf(focused);
}

void LargeFocusContainer::StepGlide() {
    const double t = (ClockSeconds() - glideStart_) / glideSeconds_;
    if (t >= 1.0 || t < 0.0) {
        position_ = focus_;
        gliding_ = false;
    } else {
        const double eased = 1.0 - std::pow(1.0 - t, 3.0);  // quick start, soft landing
        position_ = glideFrom_ + (focus_ - glideFrom_) * eased;
    }
    PlaceItems();
    Redraw();
}

// --- placement ----------------------------------------------------------------------------

void LargeFocusContainer::PlaceItems() {
    std::vector<std::pair<float, AspectPreservingContainer*>> byDistance;
    for (int i = 0; i < ItemCount(); ++i) {
        AspectPreservingContainer* cell = cells_[i].get();
        const float distance = static_cast<float>(i - position_);
        const CarouselSlot slot = geometry_.SlotAt(distance);
        cell->SetAlpha(slot.alpha);
        const bool shown = slot.alpha >= kFaintest;
        if (cell->IsVisible() != shown) cell->SetVisible(shown);
        PlaceChild(cell, Share(slot.x), Share(slot.y), Share(slot.width), Share(slot.height));
        byDistance.emplace_back(std::fabs(distance), cell);
    }
    // Drawn farthest first, so nearer items cover the parts tucked behind them.
    std::stable_sort(byDistance.begin(), byDistance.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [distance, cell] : byDistance) {
        RemoveChild(cell, false);
        AddChild(cell, false);
    }
}

int LargeFocusContainer::ItemIndexAt(int x, int y) const {
    int found = -1;
    double nearest = 0.0;
    for (int i = 0; i < ItemCount(); ++i) {
        const AspectPreservingContainer& cell = *cells_[i];
        if (!cell.IsVisible() || cell.GetAlpha() < kFaintest) continue;
        if (!cell.HitTestLocal(x - cell.GetX(), y - cell.GetY())) continue;
        const double distance = std::fabs(i - position_);
        if (found < 0 || distance < nearest) {
            found = i;
            nearest = distance;
        }
    }
    return found;
}

void LargeFocusContainer::Draw(Gfx::DrawContext& context) {
    // Items at the edges stick out; they are cut at the container's edge.
    context.PushClip({static_cast<float>(GetX()), static_cast<float>(GetY()),
                      static_cast<float>(GetWidth()), static_cast<float>(GetHeight())});
    GridLayout::Draw(context);
    context.PopClip();
}

// --- input --------------------------------------------------------------------------------

void LargeFocusContainer::OnMouseWheel(Signal::MouseWheel& signal) {
    GridLayout::OnMouseWheel(signal);
    // Selected, the container hears the wheel everywhere; it scrolls only when under it.
    if (cells_.empty() || !IsVisible() || !HitTestLocal(signal.x, signal.y)) return;
    const int notches = wheel_.Take(signal.delta);
    // Turned away from the user: back towards the first item.
    if (notches != 0) MoveFocus(-notches);
}

void LargeFocusContainer::OnLeftButtonUp(Signal::LeftButtonUp& signal) {
    const bool click =
        IsVisible() && (IsMouseOver() || !ClickNeedsHover()) && HitTestLocal(signal.x, signal.y);
    const int clicked = click ? ItemIndexAt(signal.x, signal.y) : -1;
    GridLayout::OnLeftButtonUp(signal);
    if (clicked < 0) return;
    // A click chooses the item even when it is focused already.
    SetFocusIndex(clicked);
    Announce();
}

void LargeFocusContainer::OnSelectNextObject(Signal::SelectNextObject& signal) {
    const int direction = signal.direction;
    if (!signal.handled && IsSelected() && (direction == 0 || direction == 1) &&
        MoveFocus(direction == 0 ? -1 : 1)) {
        signal.handled = true;
        return;
    }
    // At either end the navigation leaves the carousel.
    GridLayout::OnSelectNextObject(signal);
}

void LargeFocusContainer::OnTimer(Signal::Timer& signal) {
    GridLayout::OnTimer(signal);
    if (gliding_) StepGlide();
}

}  // namespace Pym
