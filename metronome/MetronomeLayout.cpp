#include "metronome/MetronomeLayout.h"

#include <algorithm>
#include <cstdio>

#include <boost/lexical_cast.hpp>

#include "audio/AudioSystem.h"
#include "pym/base/Singleton.h"
#include "pym/gui/EditBox.h"
#include "pym/gui/LargeFocusContainer.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/ObjectSlider.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/Text.h"
#include "pym/gui/ToggleButton.h"
#include "pym/gui/Window.h"
#include "settings/AppSettings.h"
#include "settings/MetronomeProfile.h"
#include "widgets/AboutWindow.h"
#include "widgets/ComboBox.h"
#include "widgets/MenuButton.h"

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

constexpr int kDefaultBpm = 114;
constexpr int kDefaultAccent = 4;
constexpr float kDefaultFrequency = 440.0f;
constexpr int kSlowestBpm = 10;
constexpr int kFastestBpm = 5000;
constexpr int kSpaceKey = 32;
// The name skins give a drop-down's background picture, which reports clicks like an entry.
const char* const kBackground = "Background";

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Writes the preset's name and tempo into every attribute of the item template that asks for
// them.
void FillPlaceholders(TiXmlElement* element, const std::string& name, int bpm) {
    for (TiXmlAttribute* attribute = element->FirstAttribute(); attribute;
         attribute = attribute->Next()) {
        std::string value = attribute->ValueStr();
        bool changed = false;
        for (auto [marker, text] : {std::pair<std::string, std::string>{"%NAME%", name},
                                    {"%BPM%", std::to_string(bpm)}}) {
            for (std::size_t at = value.find(marker); at != std::string::npos;
                 at = value.find(marker, at + text.size())) {
                value.replace(at, marker.size(), text);
                changed = true;
            }
        }
        if (changed) attribute->SetValue(value);
    }
    for (TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
        FillPlaceholders(child, name, bpm);
}

}  // namespace

MetronomeLayout::MetronomeLayout() {
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
        if (volumeListener_) audio->RemoveOutputVolumeListener(volumeListener_);
    }
}

void MetronomeLayout::CreateFromXml(TiXmlElement* element) {
    Pym::GridLayout::CreateFromXml(element);
    config_ = std::make_unique<MetronomeConfig>(GetChildElement(element, "Config"));
    lastRefresh_ = std::chrono::steady_clock::now();
    FindWidgets();

    volumeListener_ =
        DllAudioSystemInstance().AddOutputVolumeListener([this] { RefreshVolumeSliders(); });

    AppSettings& settings = DllAppSettingsInstance();
    settings.accent = kDefaultAccent;
    settings.desiredBpm = kDefaultBpm;
    settings.desiredFrequency = kDefaultFrequency;

    BuildMenus();
    lastRefresh_ = std::chrono::steady_clock::now();
    desiredBpm_->ConnectSlot(EditBoxSignal::Id(), nullptr, [this](Base& signal, Pym::GuiObject*) {
        SetBpmFromText(static_cast<EditBoxSignal&>(signal).text);
    });
    ConnectVolumeSliders();
    BuildPresets(element);
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
    accentButton_ = &Require<MenuButton>("ACCENT");
    accentCombo_ = &Require<ComboBox>("AccentCombo");
    outputButton_ = &Require<MenuButton>("OUTPUT");
    outputCombo_ = &Require<ComboBox>("OutputCombo");
    desiredBpm_ = &Require<Pym::EditBox>("DesiredBpm");
    volumeInput_ = &Require<Pym::ObjectSlider>("VolumeInput");
    volumeOutput_ = &Require<Pym::ObjectSlider>("VolumeOutput");
    presets_ = &Require<Pym::LargeFocusContainer>("PresetContainer");
    play_ = &Require<Pym::ToggleButton>("Play");
    record_ = &Require<Pym::ToggleButton>("Record");
    visTitle_ = &Require<Pym::Text>("VisTitle");
    visFreq_ = &Require<Pym::Text>("VisFreq");
    const char* displays[] = {"MetronomeVis", "MetronomeSampleVis", "BeatLightVis"};
    for (int i = 0; i < 3; ++i) displays_[i] = &Require<Pym::GuiObject>(displays[i]);
}

void MetronomeLayout::BuildMenus() {
    for (const std::string& name : config_->accentStore.Names()) accentPopulator_.Append(name);
    accentButton_->SetText(accentPopulator_.Names().empty() ? "" : accentPopulator_.Names()[0]);
    accentCombo_->Populate(accentPopulator_);
    accentCombo_->ConnectChoice([this](const std::string& name) { AccentChosen(name); });
    accentButton_->SetText(config_->AccentName(kDefaultAccent));
    accentCombo_->MarkChoice(accentButton_->GetText());

    for (const std::string& name : config_->audioSamples.Names()) outputPopulator_.Append(name);
    outputButton_->SetText(outputPopulator_.Names().empty() ? "" : outputPopulator_.Names()[0]);
    outputCombo_->Populate(outputPopulator_);
    outputCombo_->ConnectChoice([this](const std::string& name) { OutputChosen(name); });
    outputCombo_->MarkChoice(outputButton_->GetText());
}

void MetronomeLayout::ConnectVolumeSliders() {
    auto connect = [this](Pym::ObjectSlider* slider, bool& ignore, bool input) {
        slider->ConnectSlot(ObjectSliderSignal::Id(), nullptr,
                            [this, &ignore, input](Base& signal, Pym::GuiObject*) {
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
    };
    connect(volumeInput_, ignoreInputSlider_, true);
    connect(volumeOutput_, ignoreOutputSlider_, false);
    RefreshVolumeSliders();
}

void MetronomeLayout::RefreshVolumeSliders() {
    AudioSystem& audio = DllAudioSystemInstance();
    // The sliders announce the value they are given; that must not be written back.
    ignoreInputSlider_ = true;
    volumeInput_->SetValue(audio.GetInputVolume());
    ignoreInputSlider_ = false;
    ignoreOutputSlider_ = true;
    volumeOutput_->SetValue(audio.GetOutputVolume());
    ignoreOutputSlider_ = false;
}

void MetronomeLayout::BuildPresets(TiXmlElement* element) {
    std::string itemDocument;
    ReadAttribute(itemDocument, element, "PresetXML", /*required=*/true);
    ComboPopulator names;
    for (const std::string& name : config_->presetStore.Names()) names.Append(name);
    for (const std::string& name : names.Names()) {
        TiXmlElement* item = GetRootElement(itemDocument, element);
        if (!item)
            ReportXmlError(element, "MetronomeLayout: no preset item document " + itemDocument);
        item->SetAttribute("Name", name);
        FillPlaceholders(item, name, config_->PresetValue(name));
        std::unique_ptr<Pym::GuiObject> made =
            Pym::CreateNamedObject(item->ValueStr(), name, presets_, item);
        if (!made) continue;
        Pym::GuiObject* preset = made.get();
        presets_->Adopt(std::move(made));
        presets_->AddItem(preset);
    }
    presets_->ClearSelection();
    presets_->ConnectSlot(String::Id(), nullptr, [this](Base& signal, Pym::GuiObject*) {
        PresetChosen(static_cast<String&>(signal).text);
    });
}

// --- operations ---------------------------------------------------------------------------

void MetronomeLayout::SetBpm(int bpm) {
    DllAppSettingsInstance().desiredBpm = bpm;
    desiredBpm_->SetText(std::to_string(bpm));
    const std::string preset = config_->PresetName(bpm);
    visTitle_->SetText(preset.empty() ? "CUSTOM" : preset);
}

void MetronomeLayout::SetBpmFromText(const std::string& text) {
    try {
        SetBpm(std::clamp(boost::lexical_cast<int>(text), kSlowestBpm, kFastestBpm));
    } catch (const boost::bad_lexical_cast&) {
        SetBpm(kFastestBpm);
    }
    SelectPreset(config_->PresetName(DllAppSettingsInstance().desiredBpm));
    engine_.RestartIfPlaying();
}

bool MetronomeLayout::SelectPreset(const std::string& name) {
    const int index = name.empty() ? -1 : presets_->FindItem(name);
    if (index < 0) {
        presets_->ClearSelection();
        return false;
    }
    presets_->SetFocusIndex(index);
    return true;
}

void MetronomeLayout::PresetChosen(const std::string& name) {
    SetBpm(config_->PresetValue(name));
    SelectPreset(name);
    engine_.RestartIfPlaying();
}

void MetronomeLayout::AccentChosen(const std::string& name) {
    if (name == kBackground) return;
    DllAppSettingsInstance().accent = config_->AccentValue(name);
    accentButton_->SetText(name);
    accentCombo_->MarkChoice(name);
    engine_.RestartIfPlaying();
}

void MetronomeLayout::OutputChosen(const std::string& name) {
    if (name == kBackground) return;
    outputButton_->SetText(name);
    outputCombo_->MarkChoice(name);
    engine_.RestartIfPlaying();
}

void MetronomeLayout::LoadSettings() {
    SetBpm(ReadProfileInt("Bpm", kDefaultBpm));
    SelectPreset(config_->PresetName(DllAppSettingsInstance().desiredBpm));
    // A name no item carries (a skin that changed its lists, a hand-edited profile) keeps the
    // fresh start's choice: taken as it is, it would show in the button, play an accent of 0 or
    // a sound set that does not exist, and be saved back for ever.
    const std::string accent = ReadProfileString("Accent", "ACCENT: 4");
    if (accentPopulator_.Offers(accent)) AccentChosen(accent);
    const std::string output = ReadProfileString("Output", "");
    if (outputPopulator_.Offers(output)) OutputChosen(output);
}

void MetronomeLayout::SaveSettings() {
    // A layout whose build failed half way has nothing worth keeping.
    if (!settingsLoaded_) return;
    WriteProfileInt("Bpm", DllAppSettingsInstance().desiredBpm);
    WriteProfileString("Output", outputButton_->GetText());
    WriteProfileString("Accent", accentButton_->GetText());
}

void MetronomeLayout::RefreshDisplays() {
    if (!IsVisible()) return;
    const auto now = std::chrono::steady_clock::now();
    const std::chrono::duration<double> since = now - lastRefresh_;
    if (since.count() <= DllAppSettingsInstance().displayRefreshInterval) return;
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
    if (moving || displaysMoved_)
        for (Pym::GuiObject* display : displays_) display->Redraw();
    displaysMoved_ = moving;
}

void MetronomeLayout::OnTimer(Pym::Signal::Timer& signal) {
    Pym::GridLayout::OnTimer(signal);
    engine_.CheckRecordingLimit();
    RefreshDisplays();
}

// --- keyboard -----------------------------------------------------------------------------

void MetronomeLayout::OnKeyPress(KeyPress& signal) {
    if (signal.key != kSpaceKey) return;
    Pym::ScreenManager* screens = FindScreenManager();
    if (screens && dynamic_cast<Pym::EditBox*>(screens->Focus())) return;
    // Through the toggle, so its picture and the skin's slots follow.
    Activate press;
    play_->SendSignalToSelf(press);
}

// --- slots --------------------------------------------------------------------------------

Pym::Window* MetronomeLayout::ContainingWindow() {
    // On a screen the route ends at the screen, which shows in its manager's window.
    if (auto* window = dynamic_cast<Pym::Window*>(RouteRoot())) return window;
    Pym::ScreenManager* screens = FindScreenManager();
    return screens ? dynamic_cast<Pym::Window*>(screens->Content()) : nullptr;
}

void MetronomeLayout::CloseClickedSlot(Activate&) {
    AudioSystem& audio = DllAudioSystemInstance();
    if (audio.IsOutputActive()) audio.StopOutput();
    if (Pym::Window* window = ContainingWindow()) window->Close();
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
    record_->SetDown(false);
    DllAudioSystemInstance().RestoreInputAnalysis();
}

void MetronomeLayout::VisibilityChangeSlot(ObjectVisibilityChange& signal) {
    if (!signal.visible) return;
    RefreshVolumeSliders();
    RestartLayoutAnimation();
}

void MetronomeLayout::HelpActiveSlot(Activate&) {
    TiXmlElement* element = GetChildElement(GetElement(), "AboutWindow");
    if (std::unique_ptr<AboutWindow> about =
            Pym::CreateNamedObjectAs<AboutWindow>("AboutWindow", "AboutWindow", nullptr, element)) {
        // Centred over the window; the run places it relative to the window's corner.
        if (Pym::Window* window = ContainingWindow())
            about->Move((window->GetWidth() - about->GetWidth()) / 2,
                        (window->GetHeight() - about->GetHeight()) / 2);
        about->DoModal(ContainingWindow());
        about->SetVisible(false);
    }
}

void MetronomeLayout::MinimiseClickedSlot(Activate&) {
    if (Pym::Window* window = ContainingWindow()) window->Minimize();
}

void MetronomeLayout::PresetContainerReady(ObjectReady&) {
    if (settingsLoaded_) return;
    settingsLoaded_ = true;
    LoadSettings();
}

// --- what the playback engine reads -------------------------------------------------------

std::string MetronomeLayout::OutputText() const {
    return outputButton_ ? outputButton_->GetText() : std::string();
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
