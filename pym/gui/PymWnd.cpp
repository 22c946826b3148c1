#include "pym/gui/PymWnd.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "pym/base/Trace.h"
#include "pym/core/Signals.h"
#include "pym/gui/TickHook.h"
#include "pym/gui/TickSubscribers.h"
#include "pym/gui/ToolTipHook.h"
#include "pym/gui/Window.h"

namespace Pym {

namespace {

using Platform::HostEvent;

constexpr int kShapeCutoff = 10;
constexpr int kTimerId = 1;

// Wheel deltas travel as signed 16-bit values.
int WheelDelta(int delta) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(delta));
}

// The pixels to copy to the screen: each repainted rectangle on its own (two displays far
// apart cost their own areas, not the box around both), or the box around them all when they
// are many.
std::vector<Platform::HostRect> PresentedAreas(const Gfx::Region& region, int width, int height) {
    constexpr std::size_t kMostAreas = 16;
    auto pixels = [width, height](const Gfx::Rect& r) {
        const int left = std::max(0, static_cast<int>(r.x));
        const int top = std::max(0, static_cast<int>(r.y));
        const int right = std::min(width, static_cast<int>(r.x + r.width + 0.999f));
        const int bottom = std::min(height, static_cast<int>(r.y + r.height + 0.999f));
        return Platform::HostRect{left, top, right - left, bottom - top};
    };
    std::vector<Platform::HostRect> areas;
    if (region.Rects().size() > kMostAreas) {
        areas.push_back(pixels(region.Bounds()));
        return areas;
    }
    for (const Gfx::Rect& rect : region.Rects()) {
        const Platform::HostRect area = pixels(rect);
        if (area.width > 0 && area.height > 0) areas.push_back(area);
    }
    return areas;
}

bool Overlapping(const Gfx::Rect& a, const Gfx::Rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

bool Inside(const Gfx::Rect& outer, const Gfx::Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

}  // namespace

Platform::HostRect PullInsideMonitor(Platform::HostRect rect, const Platform::HostRect& monitor) {
    const int right = monitor.x + monitor.width, bottom = monitor.y + monitor.height;
    if (rect.x + rect.width > right) rect.x -= rect.x + rect.width - right;
    if (rect.y + rect.height > bottom) rect.y -= rect.y + rect.height - bottom;
    rect.x = std::max(rect.x, monitor.x);
    rect.y = std::max(rect.y, monitor.y);
    return rect;
}

std::unique_ptr<PymWnd> PymWnd::Create(Window& window, Platform::WindowKind kind,
                                       Platform::HostWindow* owner, const Platform::HostRect& rect,
                                       const std::string& title, bool shaped) {
    auto native = Platform::Host().CreateWindow(kind, owner, rect, title, shaped);
    if (!native) return nullptr;
    return std::unique_ptr<PymWnd>(new PymWnd(window, std::move(native)));
}

PymWnd::PymWnd(Window& window, std::unique_ptr<Platform::HostWindow> native)
    : window_(window), native_(std::move(native)) {
    // The loop ticks only for the objects that need it, and for repaints waiting.
    Platform::Host().SetTickDemand(&TickSubscribers::WantedInMs);
    screens_.SetContent(&window);
    // Each screen has its own outline: the window keeps the one of the screen shown.
    screens_.SetScreenChangeHook([this] { window_.Reshape(); });
    native_->SetListener(this);
}

PymWnd::~PymWnd() {
    native_->SetListener(nullptr);
    // The buffer may lie over the window's pixels: it goes first.
    context_.reset();
    backBuffer_.reset();
    native_.reset();
}

// --- events -------------------------------------------------------------------------------

void PymWnd::OnHostEvent(Platform::HostWindow&, const HostEvent& event) {
    std::lock_guard<std::recursive_mutex> lock(screens_.Lock());
    Translate(event);
    screens_.DisposePending();
    if (screens_.NeedsRedraw()) Render();
}

bool PymWnd::OutsideShape(int x, int y) const {
    if (!window_.IsShaped() || !backBuffer_) return false;
    if (x < 0 || y < 0 || x >= backBuffer_->Width() || y >= backBuffer_->Height()) return true;
    cairo_surface_t* surface = backBuffer_->Surface();
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return static_cast<int>(reinterpret_cast<const std::uint32_t*>(row)[x] >> 24) < kShapeCutoff;
}

void PymWnd::Translate(const HostEvent& event) {
    switch (event.type) {
        case HostEvent::Type::LeftDown:
        case HostEvent::Type::LeftDoubleClick:
        case HostEvent::Type::RightDown:
        case HostEvent::Type::RightDoubleClick:
        case HostEvent::Type::Wheel:
            // Not every system cuts a shaped window's input: presses on the cut-away parts
            // are not the window's.
            if (OutsideShape(event.x, event.y)) return;
            break;
        default:
            break;
    }
    switch (event.type) {
        case HostEvent::Type::MouseMove: {
            if (event.x == lastMouseX_ && event.y == lastMouseY_) return;
            lastMouseX_ = event.x;
            lastMouseY_ = event.y;
            Signal::MouseMove move(event.x, event.y);
            screens_.Deliver(move);
            if (native_->HasFocus() && !screens_.ButtonHeld()) {
                Signal::ShowToolTip hover(event.x, event.y);
                screens_.Deliver(hover);
                if (!hover.claimedBy) HideShownToolTip();
            }
            return;
        }
        case HostEvent::Type::LeftDown: {
            HideShownToolTip();
            screens_.SetButtonHeld(true);
            Signal::LeftButtonDown press(event.x, event.y);
            screens_.DeliverPress(press, event.x, event.y);
            return;
        }
        case HostEvent::Type::LeftUp: {
            screens_.SetButtonHeld(false);
            // The host reports the pointer again after a release; that report must count.
            lastMouseX_ = lastMouseY_ = -1;
            Signal::LeftButtonUp release(event.x, event.y);
            screens_.Deliver(release);
            return;
        }
        case HostEvent::Type::LeftDoubleClick: {
            Signal::LeftButtonDblClk twice(event.x, event.y);
            screens_.Deliver(twice);
            Signal::GuiBuilderActivate builder;
            screens_.Deliver(builder);
            return;
        }
        case HostEvent::Type::RightDown: {
            screens_.SetButtonHeld(true);
            Signal::RightButtonDown press(event.x, event.y);
            screens_.Deliver(press);
            return;
        }
        case HostEvent::Type::RightUp: {
            screens_.SetButtonHeld(false);
            Signal::RightButtonUp release(event.x, event.y);
            screens_.Deliver(release);
            return;
        }
        case HostEvent::Type::RightDoubleClick: {
            Signal::RightButtonDblClk twice(event.x, event.y);
            screens_.Deliver(twice);
            return;
        }
        case HostEvent::Type::Wheel: {
            Signal::MouseWheel wheel(event.x, event.y, WheelDelta(event.delta));
            screens_.Deliver(wheel);
            return;
        }
        case HostEvent::Type::Character:
        case HostEvent::Type::KeyDown: {
            Signal::KeyPress key(static_cast<int>(event.code));
            screens_.Deliver(key);
            return;
        }
        case HostEvent::Type::Timer: {
            // A minimised window is unmapped, yet what it runs goes on: a speed trainer steps
            // its tempo, the minimised title follows the tuner. Only painting waits.
            if (!native_->IsVisible() && !native_->IsMinimized()) return;
            RunTickHook();
            if (TickSubscribers::Count() == 0) return;
            TickSubscribers::Routing subscribersOnly;
            Signal::Timer tick(kTimerId, screens_.ElapsedMs());
            screens_.Deliver(tick);
            return;
        }
        case HostEvent::Type::Sized: {
            screens_.SetScreenArea(event.width, event.height);
            // Whatever the tree does about its new size, all of it is painted anew.
            screens_.RequestFullRedraw();
            Signal::WindowSized sized(event.width, event.height);
            screens_.Deliver(sized);
            return;
        }
        case HostEvent::Type::Moved: {
            window_.HostMoved(event.x, event.y);
            Signal::HostWindowMoved moved(event.x, event.y);
            screens_.DeliverToAll(moved);
            return;
        }
        case HostEvent::Type::FocusGained:
        case HostEvent::Type::FocusLost: {
            if (event.type == HostEvent::Type::FocusLost) screens_.SetButtonHeld(false);
            Signal::WindowActivated activated(event.type == HostEvent::Type::FocusGained);
            screens_.Deliver(activated);
            return;
        }
        case HostEvent::Type::DropFile: {
            Signal::DropFile drop(event.x, event.y, event.text);
            screens_.Deliver(drop);
            return;
        }
        case HostEvent::Type::Expose:
            screens_.RequestFullRedraw();
            return;
        case HostEvent::Type::CloseRequest:
            window_.Close();
            return;
    }
}

// --- painting -----------------------------------------------------------------------------

// Draws straight into the window's own pixels when the host lends them, else into a picture
// of its own that presenting copies.
void PymWnd::MatchWindowSize() {
    const Platform::HostCanvas canvas = native_->Canvas();
    if (canvas.pixels) {
        if (lent_ == canvas.pixels && backBuffer_->Width() == canvas.width &&
            backBuffer_->Height() == canvas.height)
            return;
        UseBuffer(Gfx::Image::Over(canvas.pixels, canvas.width, canvas.height, canvas.stride),
                  canvas.pixels);
        return;
    }
    const Platform::HostRect geometry = native_->Geometry();
    const int width = std::max(geometry.width, 1), height = std::max(geometry.height, 1);
    if (backBuffer_ && !lent_ && backBuffer_->Width() == width && backBuffer_->Height() == height)
        return;
    UseBuffer(Gfx::Image::Blank(width, height), nullptr);
}

void PymWnd::UseBuffer(std::shared_ptr<Gfx::Image> buffer, std::uint32_t* lent) {
    context_.reset();
    backBuffer_ = std::move(buffer);
    lent_ = lent;
    context_ = std::make_unique<Gfx::CairoDrawContext>(*backBuffer_);
    // A new buffer holds nothing yet.
    screens_.RequestFullRedraw();
}

void PymWnd::Render() {
    std::lock_guard<std::recursive_mutex> lock(screens_.Lock());
    // Out of sight nothing is painted, and nothing is kept waiting (the loop would spin on it):
    // the window is painted whole when it is shown again.
    if (native_->IsMinimized()) {
        screens_.PaintDone();
        return;
    }
    MatchWindowSize();
    GuiObject* root = screens_.Shown();
    if (!root || !root->IsVisible()) return;
    const Gfx::Rect whole{0, 0, static_cast<float>(backBuffer_->Width()),
                          static_cast<float>(backBuffer_->Height())};
    Gfx::Region& region = screens_.InvalidRegion();
    if (!screens_.FullRedrawRequested() && !region.Intersects(whole)) {
        screens_.SetNeedsRedraw(false);
        return;
    }
    if (screens_.FullRedrawRequested()) {
        region.Clear();
        region.Add(whole);
    }
    context_->SetClip(region);
    if (!RepaintAlone(region)) {
        context_->Clear();
        Backdrop::TreePaint treePaint;
        root->Draw(*context_);
        for (GuiObject* overlay : screens_.Overlays())
            if (overlay->IsVisible()) overlay->DrawSelf(*context_);
    }
    Backdrop::PaintDone();

    cairo_surface_t* surface = backBuffer_->Surface();
    cairo_surface_flush(surface);
    native_->PresentAreas(
        reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface)),
        backBuffer_->Width(), backBuffer_->Height(), cairo_image_surface_get_stride(surface),
        PresentedAreas(region, backBuffer_->Width(), backBuffer_->Height()));
    // Start-up time is measured to this line: the first frame that shows a screen, not only
    // the window's frame around it.
    static bool presented = false;
    if (!presented && !screens_.CurrentScreen().empty()) {
        presented = true;
        Trace("first frame presented");
    }
    screens_.PaintDone();
}

// When all that waits is objects that asked to be repainted and hold their backdrops, each is
// painted over its copy alone: nothing beneath them is walked or drawn.
bool PymWnd::RepaintAlone(const Gfx::Region& region) {
    if (screens_.FullRedrawRequested()) return false;
    std::vector<GuiObject*> alone;
    for (Backdrop* backdrop : Backdrop::All()) {
        if (!backdrop->Asked()) continue;
        GuiObject& owner = backdrop->Owner();
        if (owner.FindScreenManager() != &screens_) continue;
        const Gfx::Rect area{
            static_cast<float>(owner.GetAbsoluteX()), static_cast<float>(owner.GetAbsoluteY()),
            static_cast<float>(owner.GetWidth()), static_cast<float>(owner.GetHeight())};
        if (!owner.IsVisibleRecursive() || !backdrop->Holds(area)) return false;
        // Two drawn over one another would each paint its copy over the other.
        for (const GuiObject* other : alone)
            if (Overlapping(other->GetBackdrop()->Area(), area)) return false;
        for (const GuiObject* overlay : screens_.Overlays())
            if (overlay->IsVisible() && overlay->Overlaps(owner)) return false;
        alone.push_back(&owner);
    }
    for (const Gfx::Rect& rect : region.Rects())
        if (std::none_of(alone.begin(), alone.end(), [&rect](const GuiObject* owner) {
                return Inside(owner->GetBackdrop()->Area(), rect);
            }))
            return false;
    for (GuiObject* owner : alone)
        if (!owner->DrawOverBackdrop(*context_)) return false;
    return true;
}

void PymWnd::UpdateShape() {
    std::lock_guard<std::recursive_mutex> lock(screens_.Lock());
    screens_.RequestFullRedraw();
    Render();
    if (!backBuffer_) return;
    cairo_surface_t* surface = backBuffer_->Surface();
    native_->SetShape(reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface)),
                      backBuffer_->Width(), backBuffer_->Height(),
                      cairo_image_surface_get_stride(surface), kShapeCutoff);
}

}  // namespace Pym
