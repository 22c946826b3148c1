// The binding between a screen's volume sliders and the mixer, on the in-memory mixer.
#include "widgets/VolumeSliderBinding.h"

#include <gtest/gtest.h>

#include "pym/gui/ObjectSlider.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/VirtualAudio.h"

namespace {

class VolumeSliderBindingTest : public Testing::WidgetFixture {
protected:
    Pym::ObjectSlider* Slider() {
        return Build<Pym::ObjectSlider>(
            "<Pym::ObjectSlider Orientation=\"Horizontal\" Min=\"0\" Max=\"100\"/>");
    }
    MemoryMixerBackend& mixer = Testing::InstallMemoryMixer();
};

TEST_F(VolumeSliderBindingTest, SlidersAndMixerFollowEachOtherUntilTheBindingEnds) {
    MixerLine out;
    ASSERT_TRUE(mixer.OutputLine(out));
    Pym::ObjectSlider* input = Slider();
    Pym::ObjectSlider* output = Slider();
    ASSERT_TRUE(input && output);
    AudioSystem& audio = DllAudioSystemInstance();
    audio.SetOutputVolume(40);
    {
        VolumeSliderBinding binding(*input, *output);
        EXPECT_EQ(output->GetValue(), 40);  // shows the mixer at once

        output->SetValue(70);  // as a drag does
        EXPECT_EQ(audio.GetOutputVolume(), 70);
        input->SetValue(25);
        EXPECT_EQ(audio.GetInputVolume(), 25);

        const int writes = mixer.WriteCount();
        mixer.ChangeOutside(out.id, 0, 65535 * 2 / 10);
        mixer.ChangeOutside(out.id, 1, 65535 * 2 / 10);
        audio.PollMixer();
        EXPECT_EQ(output->GetValue(), 20);
        EXPECT_EQ(mixer.WriteCount(), writes);  // following the mixer writes nothing back
    }
    // Gone with its screen: a later change outside reaches no slider.
    mixer.ChangeOutside(out.id, 0, 65535 * 9 / 10);
    mixer.ChangeOutside(out.id, 1, 65535 * 9 / 10);
    audio.PollMixer();
    EXPECT_EQ(output->GetValue(), 20);
}

}  // namespace
