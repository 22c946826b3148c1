#include "widgets/VolumeSliderBinding.h"

#include "audio/AudioSystem.h"
#include "pym/base/Singleton.h"
#include "pym/gui/ObjectSlider.h"

VolumeSliderBinding::VolumeSliderBinding(Pym::ObjectSlider& input, Pym::ObjectSlider& output)
    : input_(input), output_(output) {
    Connect(input_, ignoreInput_, true);
    Connect(output_, ignoreOutput_, false);
    listener_ = DllAudioSystemInstance().AddOutputVolumeListener([this] { Refresh(); });
    Refresh();
}

VolumeSliderBinding::~VolumeSliderBinding() {
    if (AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive())
        audio->RemoveOutputVolumeListener(listener_);
}

void VolumeSliderBinding::Connect(Pym::ObjectSlider& slider, bool& ignore, bool input) {
    using namespace Pym::Signal;
    slider.ConnectSlot(ObjectSliderSignal::Id(), nullptr,
                       [&ignore, input](Base& signal, Pym::GuiObject*) {
                           const int value = static_cast<ObjectSliderSignal&>(signal).value;
                           if (!ignore) {
                               AudioSystem& audio = DllAudioSystemInstance();
                               if (input)
                                   audio.SetInputVolume(value);
                               else
                                   audio.SetOutputVolume(value);
                           }
                           ignore = false;
                       });
}

void VolumeSliderBinding::Refresh() {
    AudioSystem& audio = DllAudioSystemInstance();
    // The sliders announce the value they are given; that must not be written back.
    ignoreInput_ = true;
    input_.SetValue(audio.GetInputVolume());
    ignoreInput_ = false;
    ignoreOutput_ = true;
    output_.SetValue(audio.GetOutputVolume());
    ignoreOutput_ = false;
}
