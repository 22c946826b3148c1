#pragma once

namespace Pym {
class ObjectSlider;
}

// Ties a screen's two volume sliders to the mixer both ways: moving a slider sets the input or
// output volume, and a volume changed outside (or a screen shown again) moves the slider. The
// value a slider is given is not written back to the mixer.
class VolumeSliderBinding {
public:
    VolumeSliderBinding(Pym::ObjectSlider& input, Pym::ObjectSlider& output);
    ~VolumeSliderBinding();
    VolumeSliderBinding(const VolumeSliderBinding&) = delete;
    VolumeSliderBinding& operator=(const VolumeSliderBinding&) = delete;

    // The sliders show the mixer's volumes.
    void Refresh();

private:
    void Connect(Pym::ObjectSlider& slider, bool& ignore, bool input);

    Pym::ObjectSlider& input_;
    Pym::ObjectSlider& output_;
    bool ignoreInput_ = false;
    bool ignoreOutput_ = false;
    int listener_ = 0;
};
