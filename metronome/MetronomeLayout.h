#pragma once

#include <chrono>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "metronome/MetronomeConfig.h"
#include "metronome/PlaybackEngine.h"
#include "metronome/PresetStrip.h"
#include "metronome/RefreshPace.h"
#include "metronome/SpeedTrainerPanel.h"
#include "metronome/TapTempo.h"
#include "pym/gui/GridLayout.h"
#include "widgets/ChoiceMenu.h"
#include "widgets/VolumeSliderBinding.h"

namespace Pym {
class EditBox;
class Text;
class ToggleButton;
}  // namespace Pym

// The metronome screen's controller: the layout a skin places on the metronome screen. It
// takes hold of the named widgets of its subtree, fills the accent, sound and preset menus
// from its "Config" child, turns the user's choices into settings and playback, restores the
// last tempo, accent and sound once the preset list is ready and saves them when destroyed.
class MetronomeLayout : public Pym::GridLayout, private PlaybackControls {
public:
    MetronomeLayout();
    ~MetronomeLayout() override;

    // --- slots the skin connects ------------------------------------------------------------
    void CloseClickedSlot(Pym::Signal::Activate&);
    void PlayActiveSlot(Pym::Signal::Activate& signal);
    void RecordActiveSlot(Pym::Signal::Activate& signal);
    void SwitchClickedSlot(Pym::Signal::Activate&);
    void VisibilityChangeSlot(Pym::Signal::ObjectVisibilityChange& signal);
    void HelpActiveSlot(Pym::Signal::Activate&);
    void MinimiseClickedSlot(Pym::Signal::Activate&);
    void PresetContainerReady(Pym::Signal::ObjectReady&);

    // --- operations -------------------------------------------------------------------------
    void SetBpm(int bpm);
    void SetBpmFromText(const std::string& text);
    // A tempo from the keys, the wheel or taps: clamped, shown with its preset, and a playing
    // bar restarts at it as it does for a typed tempo.
    void ChangeBpm(int bpm);
    // A tap of the Tap button or the T key, at `seconds` on a steady clock.
    void TapAt(double seconds);
    bool SelectPreset(const std::string& name);
    void PresetChosen(const std::string& name);
    void AccentChosen(const std::string& name);
    // "None", "Eighths", "Triplets" or "Sixteenths": the clicks between the beats.
    void SubdivisionChosen(const std::string& name);
    void OutputChosen(const std::string& name);
    // The trainer's toggle or plan changed: Play starts what the panel shows.
    void TrainerChanged();
    void LoadSettings();
    void SaveSettings();
    void RefreshDisplays();

    const MetronomeConfig& Config() const { return *config_; }
    PlaybackEngine& Engine() { return engine_; }
    bool SettingsLoaded() const { return settingsLoaded_; }

    // Unless an edit box has the keyboard: Space plays and stops, T taps the tempo, Up/Down
    // change it by 1 and Page Up/Page Down by 10.
    void OnKeyPress(Pym::Signal::KeyPress& signal) override;
    void OnTimer(Pym::Signal::Timer& signal) override;
    bool NeedsTicks() const override;
    int TickDelayMs() const override;

protected:
    void CreateFromXml(TiXmlElement* element) override;

private:
    // PlaybackControls
    std::string OutputText() const override;
    int PlayState() const override;
    void ResetRecordToggle() override;
    bool FindSample(const std::string& name, AudioEntry& entry) const override;

    template <class T>
    T& Require(const std::string& name);
    void FindWidgets();
    void BuildMenus();
    // While the trainer plays the tempo shown is the one heard; after, the settings' again.
    void ShowTrainerTempo();

    std::unique_ptr<MetronomeConfig> config_;
    TapTempo taps_;
    std::chrono::steady_clock::time_point lastRefresh_;
    bool displaysMoved_ = false;
    RefreshPace pace_;
    float shownFrequency_ = std::numeric_limits<float>::quiet_NaN();  // none shown yet
    bool settingsLoaded_ = false;

    PlaybackEngine engine_{*this};

    std::unique_ptr<ChoiceMenu> accentMenu_;
    std::unique_ptr<ChoiceMenu> outputMenu_;
    std::unique_ptr<ChoiceMenu> subdivisionMenu_;  // where the skin offers one
    std::unique_ptr<PresetStrip> presets_;
    std::unique_ptr<SpeedTrainerPanel> trainer_;  // where the skin offers one
    int shownTrainerBpm_ = 0;
    std::unique_ptr<VolumeSliderBinding> volumes_;
    Pym::EditBox* desiredBpm_ = nullptr;
    Pym::ToggleButton* play_ = nullptr;
    Pym::ToggleButton* record_ = nullptr;
    Pym::Text* visTitle_ = nullptr;
    Pym::Text* visFreq_ = nullptr;
    std::vector<Pym::GuiObject*> displays_;
};
