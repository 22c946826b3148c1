#include "vis/Vis.h"

#include "settings/MetronomeProfile.h"

Vis::Vis() {
    using namespace Pym::Signal;
    ConnectSlot(MouseClick::Id(), nullptr, [this](Base&, Pym::GuiObject*) {
        Next();
        // The new view is always painted, whatever a display's own redraw would skip.
        VisBase::Redraw();
    });
}

VisBase& Vis::AddView(std::unique_ptr<VisBase> view) {
    view->Resize(GetWidth(), GetHeight());
    views_.push_back(std::move(view));
    if (current_ < 0) current_ = 0;
    return *views_.back();
}

VisBase* Vis::Current() const {
    return current_ >= 0 ? views_[static_cast<std::size_t>(current_)].get() : nullptr;
}

void Vis::Next() {
    if (views_.empty()) return;
    current_ = (current_ + 1) % ViewCount();
    ForgetDrawn();
}

void Vis::ShowView(int index) {
    if (index >= 0 && index < ViewCount()) current_ = index;
    // What a view drew when last shown is not on the screen any more.
    ForgetDrawn();
}

void Vis::RestoreView() {
    ShowView(ReadProfileInt(GetName(), -1));
}

void Vis::SaveView() const {
    WriteProfileInt(GetName(), current_);
}

void Vis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) {
    if (VisBase* view = Current()) view->DrawVis(context, x, y, width, height);
}

Pym::Gfx::Rect Vis::ChangedArea(const Pym::Gfx::Rect& area) const {
    const VisBase* view = Current();
    return view ? view->ChangedArea(area) : Pym::Gfx::Rect{};
}

void Vis::ForgetDrawn() {
    for (const auto& view : views_) view->ForgetDrawn();
}

void Vis::Sample() {
    if (VisBase* view = Current()) view->Sample();
}

bool Vis::Moving() const {
    const VisBase* view = Current();
    return view && view->Moving();
}

bool Vis::Tick(double seconds) {
    VisBase* view = Current();
    return view && view->Tick(seconds);
}

bool Vis::Resize(int width, int height) {
    for (const auto& view : views_) view->Resize(width, height);
    return VisBase::Resize(width, height);
}
