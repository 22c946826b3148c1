#include "pym/gui/AnimatedImage.h"

#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered = RegisterType<AnimatedImage>("Pym::AnimatedImage",
                                                    "$PYM/Objects/AnimatedImage/AnimatedImage.xml");
const bool registeredForwards =
    RegisterSlot("Pym::AnimatedImage::SlotAnimateForwards", &AnimatedImage::SlotAnimateForwards);
const bool registeredBackwards =
    RegisterSlot("Pym::AnimatedImage::SlotAnimateBackwards", &AnimatedImage::SlotAnimateBackwards);
const bool registeredStop =
    RegisterSlot("Pym::AnimatedImage::SlotStopAnimating", &AnimatedImage::SlotStopAnimating);

constexpr std::int64_t kUnset = -1;

}  // namespace

AnimatedImage::AnimatedImage() : GuiObject(/*notSelectable=*/1, /*sizeLocked=*/0) {
    SubscribeTicks();
}

bool AnimatedImage::LoadFromXml(TiXmlElement* element) {
    if (!GuiObject::LoadFromXml(element)) return false;
    ReadAttribute(rateMs_, element, "AnimationRate", true);
    std::string flag;
    if (ReadAttribute(flag, element, "SingleShot")) singleShot_ = flag == "true";
    if (ReadAttribute(flag, element, "Animate")) stopped_ = flag == "false";
    for (TiXmlElement* frameElement : GetChildElements(element, "Image")) {
        auto frame = std::make_unique<Image>();
        // A frame that cannot be read is left out; the others still play.
        if (!frame->Build(frameElement)) continue;
        frame->Move(GetX(), GetY());
        frame->Resize(GetWidth(), GetHeight());
        frames_.push_back(std::move(frame));
    }
    if (rateMs_ <= 0 || frames_.empty()) {
        Trace("Pym::AnimatedImage - " + GetName() + " needs a positive AnimationRate and frames");
        return false;
    }
    return true;
}

void AnimatedImage::OnTimer(Signal::Timer& signal) {
    OnTimerAt(signal.elapsedMs);
}

void AnimatedImage::OnTimerAt(std::int64_t nowMs) {
    if (stopped_) return;
    if (lastStep_ == kUnset) lastStep_ = nowMs;
    if (nowMs - lastStep_ < rateMs_) return;
    stepPending_ = true;
    lastStep_ = nowMs;
    Redraw();
}

bool AnimatedImage::DrawSelf(Gfx::DrawContext& context) {
    bool drawn = true;
    if (current_ >= 0 && current_ < FrameCount()) drawn = frames_[current_]->DrawSelf(context);
    if (stepPending_) {
        stepPending_ = false;
        Step();
    }
    return drawn;
}

void AnimatedImage::Step() {
    if (frames_.empty()) return;
    if (!backwards_) {
        if (++current_ <= LastFrame()) return;
        current_ = singleShot_ ? LastFrame() : 0;
    } else {
        if (--current_ >= 0) return;
        current_ = singleShot_ ? 0 : LastFrame();
    }
    if (singleShot_) stopped_ = true;
}

void AnimatedImage::Start(bool backwards) {
    backwards_ = backwards;
    current_ = backwards_ ? LastFrame() : 0;
    lastStep_ = kUnset;
    stepPending_ = false;
    stopped_ = false;
}

void AnimatedImage::RestartAnimation() {
    Start(backwards_);
}

void AnimatedImage::SlotAnimateForwards(Signal::Base&) {
    Start(false);
}

void AnimatedImage::SlotAnimateBackwards(Signal::Base&) {
    Start(true);
}

void AnimatedImage::SlotStopAnimating(Signal::Base&) {
    stopped_ = true;
    // A step still pending would move off frame 0 right after showing it.
    stepPending_ = false;
    current_ = 0;
    Redraw();
}

void AnimatedImage::Move(int x, int y) {
    GuiObject::Move(x, y);
    for (auto& frame : frames_) frame->Move(x, y);
}

bool AnimatedImage::Resize(int width, int height) {
    if (!GuiObject::Resize(width, height)) return false;
    for (auto& frame : frames_) frame->Resize(width, height);
    return true;
}

}  // namespace Pym
