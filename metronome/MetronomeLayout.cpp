#include "metronome/MetronomeLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <boost/lexical_cast.hpp>

#include "audio/AudioSystem.h"
#include "metronome/BeatPhase.h"
#include "metronome/MetronomeChoices.h"
#include "platform/HostWindow.h"
#include "pym/base/Singleton.h"
#include "pym/gui/EditBox.h"
#include "pym/gui/LargeFocusContainer.h"
#include "pym/gui/ObjectLookup.h"
#include "pym/gui/ObjectSlider.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/Text.h"
#include "pym/gui/ToggleButton.h"
#include "settings/AppSettings.h"
#include "widgets/ComboBox.h"
#include "widgets/MenuButton.h"
#include "widgets/ScreenChrome.h"

namespace {

using namespace Pym::Signal;

const bool registered = Pym::RegisterType<MetronomeLayout>("MetronomeLayout", "");
const bool registeredSlots[] = {
    Pym::RegisterSlot("MetronomeLayout::CloseClickedSlot", &MetronomeLayout::CloseClickedSlot),
    Pym::RegisterSlot("MetronomeLayout::PlayActiveSlot", &MetronomeLayout::PlayActiveSlot),
    Pym::RegisterSlot("MetronomeLayout::RecordActiveSlot", &MetronomeLayout::RecordActiveSlot),
    Pym::RegisterSlot("MetronomeLayout::SwitchClickedSlot", &MetronomeLayout::SwitchClickedSlot),
    Pym::RegisterSlot("MetronomeLayout::VisibilityChangeSlot",
                      &MetronomeLayout::VisibilityChangeSlot),
    Pym::RegisterSlot("MetronomeLayout::HelpActiveSlot", &MetronomeLayout::HelpActiveSlot),
    Pym::RegisterSlot("MetronomeLayout::MinimiseClickedSlot",
                      &MetronomeLayout::MinimiseClickedSlot),
    Pym::RegisterSlot("MetronomeLayout::PresetContainerReady",
                      &MetronomeLayout::PresetContainerReady),
};

constexpr int kDefaultAccent = MetronomeChoices::kDefaultBeats;
constexpr float kDefaultFrequency = MetronomeChoices::kDefaultToneFrequency;
constexpr int kSlowestBpm = MetronomeChoices::kSlowestBpm;
constexpr int kFastestBpm = MetronomeChoices::kFastestBpm;
constexpr std::uint32_t kSpaceKey = 32;
// The subdivision menu's rows, by clicks per beat less one.
constexpr const char* kSubdivisions[] = {"None", "Eighths", "Triplets", "Sixteenths"};

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

MetronomeLayout::MetronomeLayout() {
    SubscribeTicks();
    // Always selected, so the keyboard reaches it (Space) wherever the user clicked last.
    SetForceSelected(true);
}

MetronomeLayout::~MetronomeLayout() {
    // Saved while the menu buttons and the tempo still exist.
    SaveSettings();
    if (AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive()) {
        // The stream callbacks read the bar and the recording, and at exit those go before the
        // audio system: a stream still running then would use them after their end.
        audio->StopOutput();
        if (record_ && record_->IsDown()) audio->StopInput();
    }
}

void MetronomeLayout::CreateFromXml(TiXmlElement* element) {
    Pym::GridLayout::CreateFromXml(element);
    config_ = std::make_unique<MetronomeConfig>(GetChildElement(element, "Config"));
    lastRefresh_ = std::chrono::steady_clock::now();
    FindWidgets();

    AppSettings& settings = DllAppSettingsInstance();
    settings.accent = kDefaultAccent;
    settings.subdivision = kMinSubdivision;
    settings.desiredBpm = MetronomeChoices::kDefaultBpm;
    settings.desiredFrequency = kDefaultFrequency;

    BuildMenus();
    lastRefresh_ = std::chrono::steady_clock::now();
    desiredBpm_->ConnectSlot(EditBoxSignal::Id(), nullptr, [this](Base& signal, Pym::GuiObject*) {
        SetBpmFromText(static_cast<EditBoxSignal&>(signal).text);
    });
    // One beat per minute a notch of the wheel over the tempo.
    desiredBpm_->ConnectSlot(
        Pym::Signal::MouseWheel::Id(), nullptr, [this](Base& signal, Pym::GuiObject*) {
            const int delta = static_cast<Pym::Signal::MouseWheel&>(signal).delta;
            const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0) - (delta < 0);
            ChangeBpm(DllAppSettingsInstance().desiredBpm + notches);
        });
    volumes_ = std::make_unique<VolumeSliderBinding>(Require<Pym::ObjectSlider>("VolumeInput"),
                                                     Require<Pym::ObjectSlider>("VolumeOutput"));
    presets_ = std::make_unique<PresetStrip>(Require<Pym::LargeFocusContainer>("PresetContainer"));
    presets_->Build(*this, element, config_->presetStore);
    presets_->OnChosen([this](const std::string& name) { PresetChosen(name); });
    lastRefresh_ = std::chrono::steady_clock::now();
}

template <class T>
T& MetronomeLayout::Require(const std::string& name) {
    T* found = GetXMLObject<T>(name);
    if (!found) {
        ReportXmlError(GetElement(), "MetronomeLayout needs an object named " + name);
    }
    return *found;
}

void MetronomeLayout::FindWidgets() {
    accentMenu_ = std::make_unique<ChoiceMenu>(Require<MenuButton>("ACCENT"),
                                               Require<ComboBox>("AccentCombo"));
    outputMenu_ = std::make_unique<ChoiceMenu>(Require<MenuButton>("OUTPUT"),
                                               Require<ComboBox>("OutputCombo"));
    desiredBpm_ = &Require<Pym::EditBox>("DesiredBpm");
    play_ = &Require<Pym::ToggleButton>("Play");
    record_ = &Require<Pym::ToggleButton>("Record");
    visTitle_ = &Require<Pym::Text>("VisTitle");
    visFreq_ = &Require<Pym::Text>("VisFreq");
    for (const char* name : {"MetronomeVis", "MetronomeSampleVis", "BeatLightVis"})
        displays_.push_back(&Require<Pym::GuiObject>(name));
    // Beyond what every skin must have: the subdivision menu and the Tap button.
    auto* subdivisionCaption = GetXMLObject<MenuButton>("SUBDIV");
    auto* subdivisionList = GetXMLObject<ComboBox>("SubdivisionCombo");
    if (subdivisionCaption && subdivisionList)
        subdivisionMenu_ = std::make_unique<ChoiceMenu>(*subdivisionCaption, *subdivisionList);
    if (Pym::GuiObject* tap = GetXMLObject<Pym::GuiObject>("Tap"))
        tap->ConnectSlot(Activate::Id(), nullptr,
                         [this](Base&, Pym::GuiObject*) { TapAt(SteadySeconds()); });
    if ((trainer_ = SpeedTrainerPanel::Find(*this)))
        trainer_->OnChanged([this] { TrainerChanged(); });
    // The bar's dots, where the skin has them.
    if (Pym::GuiObject* dots = Pym::FindObject(this, "BarDots")) displays_.push_back(dots);
}

void MetronomeLayout::BuildMenus() {
    accentMenu_->Offer(config_->accentStore.Names());
    accentMenu_->OnChosen([this](const std::string& name) { AccentChosen(name); });
    accentMenu_->Show(config_->AccentName(kDefaultAccent));

    outputMenu_->Offer(config_->audioSamples.Names());
    outputMenu_->OnChosen([this](const std::string& name) { OutputChosen(name); });

    if (subdivisionMenu_) {
        subdivisionMenu_->Offer({std::begin(kSubdivisions), std::end(kSubdivisions)});
        subdivisionMenu_->OnChosen([this](const std::string& name) { SubdivisionChosen(name); });
        subdivisionMenu_->Show(kSubdivisions[0]);
    }
}

// --- operations ---------------------------------------------------------------------------

void MetronomeLayout::SetBpm(int bpm) {
    DllAppSettingsInstance().desiredBpm = bpm;
    shownTrainerBpm_ = 0;  // a playing trainer shows its tempo again at the next tick
    desiredBpm_->SetText(std::to_string(bpm));
    const std::string preset = config_->PresetName(bpm);
    visTitle_->SetText(preset.empty() ? "CUSTOM" : preset);
}

void MetronomeLayout::SetBpmFromText(const std::string& text) {
    try {
        ChangeBpm(boost::lexical_cast<int>(text));
    } catch (const boost::bad_lexical_cast&) {
        ChangeBpm(kFastestBpm);
    }
}

void MetronomeLayout::ChangeBpm(int bpm) {
    SetBpm(std::clamp(bpm, kSlowestBpm, kFastestBpm));
    SelectPreset(config_->PresetName(DllAppSettingsInstance().desiredBpm));
    engine_.RestartIfPlaying();
}

void MetronomeLayout::SubdivisionChosen(const std::string& name) {
    if (!subdivisionMenu_ || !subdivisionMenu_->Offers(name)) return;
    const auto* row = std::find(std::begin(kSubdivisions), std::end(kSubdivisions), name);
    DllAppSettingsInstance().subdivision = static_cast<int>(row - std::begin(kSubdivisions)) + 1;
    subdivisionMenu_->Show(name);
    engine_.RestartIfPlaying();
}

void MetronomeLayout::TrainerChanged() {
    if (!trainer_) return;
    engine_.SetTrainerPlan(trainer_->IsOn() ? std::optional(trainer_->Plan()) : std::nullopt);
    engine_.RestartIfPlaying();
    ShowTrainerTempo();
}

void MetronomeLayout::ShowTrainerTempo() {
    const int bpm = engine_.SoundingBpm();
    if (bpm == shownTrainerBpm_) return;
    shownTrainerBpm_ = bpm;
    if (bpm == 0) {
        SetBpm(DllAppSettingsInstance().desiredBpm);
        return;
    }
    desiredBpm_->SetText(std::to_string(bpm));
    visTitle_->SetText("TRAINER");
}

void MetronomeLayout::TapAt(double seconds) {
    if (const int bpm = taps_.Tap(seconds)) ChangeBpm(bpm);
}

bool MetronomeLayout::SelectPreset(const std::string& name) {
    return presets_->Select(name);
}

void MetronomeLayout::PresetChosen(const std::string& name) {
    SetBpm(config_->PresetValue(name));
    SelectPreset(name);
    engine_.RestartIfPlaying();
}

void MetronomeLayout::AccentChosen(const std::string& name) {
    if (!ChoiceMenu::IsChoice(name)) return;
    DllAppSettingsInstance().accent = config_->AccentValue(name);
    accentMenu_->Show(name);
    engine_.RestartIfPlaying();
}

void MetronomeLayout::OutputChosen(const std::string& name) {
    if (!ChoiceMenu::IsChoice(name)) return;
    outputMenu_->Show(name);
    engine_.RestartIfPlaying();
}

void MetronomeLayout::LoadSettings() {
    const MetronomeChoices saved = MetronomeChoices::Read();
    SetBpm(saved.bpm);
    SelectPreset(config_->PresetName(DllAppSettingsInstance().desiredBpm));
    // A name no item carries (a skin that changed its lists, a hand-edited profile) keeps the
    // fresh start's choice: taken as it is, it would show in the button, play an accent of 0 or
    // a sound set that does not exist, and be saved back for ever.
    if (accentMenu_->Offers(saved.accent)) AccentChosen(saved.accent);
    if (outputMenu_->Offers(saved.output)) OutputChosen(saved.output);
    if (!saved.subdivision.empty()) SubdivisionChosen(saved.subdivision);
    if (trainer_) {
        trainer_->Show(saved.trainerOn, saved.trainer);
        TrainerChanged();
    }
}

void MetronomeLayout::SaveSettings() {
    // A layout whose build failed half way has nothing worth keeping.
    if (!settingsLoaded_) return;
    MetronomeChoices choices;
    choices.bpm = DllAppSettingsInstance().desiredBpm;
    choices.accent = accentMenu_->Shown();
    choices.output = outputMenu_->Shown();
    if (subdivisionMenu_) choices.subdivision = subdivisionMenu_->Shown();
    if (trainer_) {
        choices.trainerOn = trainer_->IsOn();
        choices.trainer = trainer_->Plan();
    }
    choices.Write();
}

void MetronomeLayout::RefreshDisplays() {
    if (!IsVisible()) return;
    const auto now = std::chrono::steady_clock::now();
    const std::chrono::duration<double> since = now - lastRefresh_;
    const double interval = DllAppSettingsInstance().displayRefreshInterval;
    if (since.count() <= interval) return;
    lastRefresh_ = now;
    const float frequency = DllAppSettingsInstance().desiredFrequency;
    if (frequency != shownFrequency_) {
        shownFrequency_ = frequency;
        visFreq_->SetText(Format("%0.2f Hz", frequency));
    }
    // The displays follow the sound: still while nothing plays or records, so they are redrawn
    // only then and once more after, to show the stop. Repainting them for nothing cost the idle
    // screen nearly a percent of a core.
    const bool moving = engine_.IsPlaying() || engine_.IsRecording();
    const HeardMoment moment;
    if (moving || displaysMoved_)
        for (Pym::GuiObject* display : displays_)
            if (display->IsVisible()) display->Redraw();
    if (moving)
        pace_.Refreshed(now, since - std::chrono::duration<double>(interval));
    else
        pace_.Stopped();
    displaysMoved_ = moving;
}

bool MetronomeLayout::NeedsTicks() const {
    // The displays follow the sound, and the frequency read-out the settings.
    return Pym::GridLayout::NeedsTicks() || engine_.IsPlaying() || engine_.IsRecording() ||
           displaysMoved_ || shownTrainerBpm_ != 0 ||
           (IsVisible() && DllAppSettingsInstance().desiredFrequency != shownFrequency_);
}

int MetronomeLayout::TickDelayMs() const {
    if (Pym::GridLayout::NeedsTicks() || engine_.IsRecording()) return 0;
    if (IsVisible() && DllAppSettingsInstance().desiredFrequency != shownFrequency_) return 0;
    // While it plays, the displays want a tick only when their next refresh is due.
    const std::chrono::duration<double> since = std::chrono::steady_clock::now() - lastRefresh_;
    const double left = DllAppSettingsInstance().displayRefreshInterval - since.count();
    return left > 0.0 ? static_cast<int>(std::ceil(left * 1000.0)) + 1 : 0;
}

void MetronomeLayout::OnTimer(Pym::Signal::Timer& signal) {
    Pym::GridLayout::OnTimer(signal);
    engine_.CheckRecordingLimit();
    engine_.KeepTrainerAhead();
    ShowTrainerTempo();
    RefreshDisplays();
}

// --- keyboard -----------------------------------------------------------------------------

void MetronomeLayout::OnKeyPress(KeyPress& signal) {
    Pym::ScreenManager* screens = FindScreenManager();
    if (screens && dynamic_cast<Pym::EditBox*>(screens->Focus())) return;
    const int bpm = DllAppSettingsInstance().desiredBpm;
    switch (static_cast<std::uint32_t>(signal.key)) {
        case kSpaceKey: {
            // Through the toggle, so its picture and the skin's slots follow.
            Activate press;
            play_->SendSignalToSelf(press);
            return;
        }
        case 't':
        case 'T':
            TapAt(SteadySeconds());
            return;
        case Platform::KeyUp | Platform::kKeyDownBit:
            ChangeBpm(bpm + 1);
            return;
        case Platform::KeyDown | Platform::kKeyDownBit:
            ChangeBpm(bpm - 1);
            return;
        case Platform::KeyPageUp | Platform::kKeyDownBit:
            ChangeBpm(bpm + 10);
            return;
        case Platform::KeyPageDown | Platform::kKeyDownBit:
            ChangeBpm(bpm - 10);
            return;
        default:
            return;
    }
}

// --- slots --------------------------------------------------------------------------------

void MetronomeLayout::CloseClickedSlot(Activate&) {
    ScreenChrome::Close(*this);
}

void MetronomeLayout::PlayActiveSlot(Activate& signal) {
    auto* toggle = dynamic_cast<Pym::ToggleButton*>(signal.sender);
    engine_.StartPlayback((toggle ? toggle : play_)->IsDown());
}

void MetronomeLayout::RecordActiveSlot(Activate& signal) {
    auto* toggle = dynamic_cast<Pym::ToggleButton*>(signal.sender);
    engine_.Record((toggle ? toggle : record_)->IsDown());
}

void MetronomeLayout::SwitchClickedSlot(Activate&) {
    if (engine_.IsPlaying()) {
        DllAudioSystemInstance().StopOutput();
        play_->SetDown(false);
    }
    // The recording ends with the screen; the other screen listens for itself if it wants to.
    if (engine_.IsRecording()) engine_.Record(false);
    record_->SetDown(false);
}

void MetronomeLayout::VisibilityChangeSlot(ObjectVisibilityChange& signal) {
    if (!signal.visible) return;
    volumes_->Refresh();
    RestartLayoutAnimation();
}

void MetronomeLayout::HelpActiveSlot(Activate&) {
    ScreenChrome::ShowAbout(*this, GetChildElement(GetElement(), "AboutWindow"));
}

void MetronomeLayout::MinimiseClickedSlot(Activate&) {
    ScreenChrome::Minimise(*this);
}

void MetronomeLayout::PresetContainerReady(ObjectReady&) {
    if (settingsLoaded_) return;
    settingsLoaded_ = true;
    LoadSettings();
}

// --- what the playback engine reads -------------------------------------------------------

std::string MetronomeLayout::OutputText() const {
    return outputMenu_ ? outputMenu_->Shown() : std::string();
}

int MetronomeLayout::PlayState() const {
    return play_ && play_->IsDown() ? 1 : 0;
}

void MetronomeLayout::ResetRecordToggle() {
    if (record_) record_->SetDown(false);
}

bool MetronomeLayout::FindSample(const std::string& name, AudioEntry& entry) const {
    return config_ && config_->FindSample(name, entry);
}
