#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "pym/core/DocumentHold.h"
#include "pym/gui/GridLayout.h"
#include "tuner/TuneConfig.h"
#include "widgets/ChoiceMenu.h"
#include "widgets/VolumeSliderBinding.h"

namespace Pym {
class EditBox;
class ObjectSlider;
class Text;
class ToggleButton;
class Window;
}  // namespace Pym
class VisBase;

// The tuner screen's controller: the layout a skin places on the tuner screen. It loads the
// instruments, styles, notes and transpositions from its "Config" child, listens to the input
// while the screen is shown and not on standby, names the note heard and refreshes the read-outs
// and the tuning displays, picks the target note by itself or lets the user pick it, takes a
// target typed by hand, plays a reference tone at the target, and moves the volumes and the
// input line.
class TunerLayout : public Pym::GridLayout {
public:
    static constexpr float kLowestTarget = 16.0f;
    static constexpr float kHighestTarget = 6645.0f;

    TunerLayout();
    ~TunerLayout() override;

    // --- slots the skin connects ------------------------------------------------------------
    void PlayActiveSlot(Pym::Signal::Activate& signal);
    void AutoSelectActiveSlot(Pym::Signal::Activate& signal);
    void StandbyActiveSlot(Pym::Signal::Activate& signal);
    void HelpActiveSlot(Pym::Signal::Activate&);
    void CloseClickedSlot(Pym::Signal::Activate&);
    void SwitchClickedSlot(Pym::Signal::Activate&);
    void VisibilityChangeSlot(Pym::Signal::ObjectVisibilityChange& signal);
    void MinimiseClickedSlot(Pym::Signal::Activate&);
    void NoteContainerReady(Pym::Signal::ObjectReady&);

    // --- operations -------------------------------------------------------------------------
    void SetTarget(float frequency);
    // Strictly a number, clamped to the targets the tuner takes; anything else keeps the target.
    void SetTargetFromText(const std::string& text);
    // Tunes every note to A4 = `a4` Hz (415 to 466 in steps of 0.5); a target on a note stays
    // on that note, any other target moves with the notes.
    void SetCalibration(float a4);
    void SetAutoSelect(bool on);
    void RebuildNotes();
    void PlayReference();
    // Standby and Play off without their actions; no input, no output.
    void StopAll();
    void NoteClicked(std::size_t index);
    void InstrumentChosen(const std::string& name);
    void StyleChosen(const std::string& name);
    void TransposeChosen(const std::string& name);
    void InputChosen(const std::string& name);
    // The read-outs and displays, at most every read-out interval.
    void Refresh();

    // The note buttons' targets: (label, frequency) in the style's order.
    const std::vector<std::pair<std::string, float>>& Targets() const { return targets_; }
    bool Listening() const;
    const TuneConfig& Config() const { return *config_; }

    void OnTimer(Pym::Signal::Timer& signal) override;
    bool NeedsTicks() const override;
    int TickDelayMs() const override;

protected:
    void CreateFromXml(TiXmlElement* element) override;

private:
    template <class T>
    T& Require(const std::string& name);
    void FindWidgets();
    void BuildMenus();
    void Listen(bool on);
    void HighlightTarget();
    void RefreshTitle();
    void LoadChoices();
    void SaveChoices();
    Pym::Window* ContainingWindow();

    std::unique_ptr<TuneConfig> config_;
    std::string noteDocument_;
    bool letterLabels_ = false;
    std::vector<std::pair<std::string, float>> targets_;
    // The note buttons' documents, given back when the buttons are rebuilt.
    Pym::DocumentHold noteDocuments_;
    std::vector<std::unique_ptr<Pym::GuiObject>> noteButtons_;
    std::string capturedTitle_;
    bool titleCaptured_ = false;
    bool choicesLoaded_ = false;
    std::chrono::steady_clock::time_point lastReadOut_;
    bool framesSinceReadOut_ = false;
    std::chrono::steady_clock::time_point lastTitle_;
    int sourceListener_ = 0;

    std::unique_ptr<ChoiceMenu> instruments_, styles_, transpositions_, inputs_;
    std::unique_ptr<VolumeSliderBinding> volumes_;
    Pym::ToggleButton* standby_ = nullptr;
    Pym::ToggleButton* play_ = nullptr;
    Pym::ToggleButton* autoSelect_ = nullptr;
    Pym::ObjectSlider* threshold_ = nullptr;
    Pym::EditBox* desiredFrequency_ = nullptr;
    Pym::Text* visFreq_ = nullptr;
    Pym::Text* calibration_ = nullptr;  // optional: "A4 440.0 Hz"
    Pym::Text* visNote_ = nullptr;
    Pym::GridLayout* noteContainer_ = nullptr;
    VisBase* displays_[4] = {nullptr, nullptr, nullptr, nullptr};
};
