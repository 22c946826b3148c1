#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pym/gui/GuiObject.h"
#include "pym/gui/Image.h"

namespace Pym {

// A picture that steps through its frames at a fixed rate on the window's timer, forwards or
// backwards, round and round or once (then it rests on the last frame it reached). A step
// is taken on the draw after the timer asked for it, so the new frame shows on the next one.
class AnimatedImage : public GuiObject {
public:
    using SignalAnimateForwards = Signal::AnimateForwards;
    using SignalAnimateBackwards = Signal::AnimateBackwards;

    AnimatedImage();

    void OnTimer(Signal::Timer& signal) override;
    bool NeedsTicks() const override { return GuiObject::NeedsTicks() || !stopped_; }
    // Time in milliseconds on the window's clock.
    void OnTimerAt(std::int64_t nowMs);
    virtual void RestartAnimation();
    void SlotAnimateForwards(Signal::Base&);
    void SlotAnimateBackwards(Signal::Base&);
    void SlotStopAnimating(Signal::Base&);

    void Move(int x, int y) override;
    bool Resize(int width, int height) override;
    bool DrawSelf(Gfx::DrawContext& context) override;

    int CurrentFrame() const { return current_; }
    int FrameCount() const { return static_cast<int>(frames_.size()); }
    int RateMs() const { return rateMs_; }
    bool IsSingleShot() const { return singleShot_; }
    bool IsStopped() const { return stopped_; }
    bool IsBackwards() const { return backwards_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    void Start(bool backwards);
    void Step();
    int LastFrame() const { return FrameCount() - 1; }

    std::vector<std::unique_ptr<Image>> frames_;
    int current_ = 0;
    std::int64_t lastStep_ = -1;
    bool stepPending_ = false;
    int rateMs_ = 0;
    bool singleShot_ = false;
    bool stopped_ = false;
    bool backwards_ = false;
};

}  // namespace Pym
