#include "tuner/TunerLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <boost/lexical_cast.hpp>

#include "audio/AudioSystem.h"
#include "audio/BarBuffer.h"
#include "pym/base/Singleton.h"
#include "pym/base/Trace.h"
#include "pym/gui/EditBox.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/ObjectSlider.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/Text.h"
#include "pym/gui/ToggleButton.h"
#include "pym/gui/Window.h"
#include "settings/AppSettings.h"
#include "settings/MetronomeProfile.h"
#include "tuner/PitchAnalyser.h"
#include "tuner/ReferenceTone.h"
#include "vis/VisBase.h"
#include "widgets/ComboBox.h"
#include "widgets/MenuButton.h"
#include "widgets/MessageBoxA.h"
#include "widgets/ScreenChrome.h"
#include "widgets/TemplateFill.h"

namespace {

using namespace Pym::Signal;

const bool registered = Pym::RegisterType<TunerLayout>("TunerLayout", "");
const bool registeredSlots[] = {
    Pym::RegisterSlot("TunerLayout::PlayActiveSlot", &TunerLayout::PlayActiveSlot),
    Pym::RegisterSlot("TunerLayout::AutoSelectActiveSlot", &TunerLayout::AutoSelectActiveSlot),
    Pym::RegisterSlot("TunerLayout::StandbyActiveSlot", &TunerLayout::StandbyActiveSlot),
    Pym::RegisterSlot("TunerLayout::HelpActiveSlot", &TunerLayout::HelpActiveSlot),
    Pym::RegisterSlot("TunerLayout::CloseClickedSlot", &TunerLayout::CloseClickedSlot),
    Pym::RegisterSlot("TunerLayout::SwitchClickedSlot", &TunerLayout::SwitchClickedSlot),
    Pym::RegisterSlot("TunerLayout::VisibilityChangeSlot", &TunerLayout::VisibilityChangeSlot),
    Pym::RegisterSlot("TunerLayout::MinimiseClickedSlot", &TunerLayout::MinimiseClickedSlot),
    Pym::RegisterSlot("TunerLayout::NoteContainerReady", &TunerLayout::NoteContainerReady),
};

constexpr const char* kNoInputLines = "INFO: There is no valid input line available";
constexpr const char* kCannotListen =
    "Could not open input device! Stop other applications using your sound port";
constexpr const char* kAutoSelectIsOn =
    "INFO: To manually select a note to tune to, switch AUTO SELECT off.";
constexpr const char* kLaterOrChange = "LATER, CHANGE";
constexpr const char* kChange = "CHANGE";
// Where the tuner's own choices are kept between runs.
constexpr const char* kInstrumentKey = "TunerInstrument";
constexpr const char* kStyleKey = "TunerStyle";
constexpr const char* kTransposeKey = "TunerTranspose";
constexpr const char* kCalibrationKey = "TunerA4";
// How long after a piece of the input is due the screen wakes for it: the device's own jitter.
constexpr double kPieceLateSeconds = 0.002;
// A read-out waits for a late piece until this many read-out intervals have passed.
constexpr double kLongestWaitIntervals = 2.0;

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

}  // namespace

TunerLayout::TunerLayout() {
    SubscribeTicks();
}

TunerLayout::~TunerLayout() {
    SaveChoices();
    if (AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive()) {
        // The reference tone plays from the bar buffer, which goes before the audio system at
        // exit; the input must not outlive its listener either.
        if (play_ && play_->IsDown()) audio->StopOutput();
        if (Listening()) audio->StopInput();
        if (sourceListener_) audio->RemoveInputSourceListener(sourceListener_);
    }
}

template <class T>
T& TunerLayout::Require(const std::string& name) {
    T* found = GetXMLObject<T>(name);
    if (!found) ReportXmlError(GetElement(), "TunerLayout needs an object named " + name);
    return *found;
}

void TunerLayout::CreateFromXml(TiXmlElement* element) {
    Pym::GridLayout::CreateFromXml(element);
    config_ = std::make_unique<TuneConfig>(GetChildElement(element, "Config"));
    ReadAttribute(noteDocument_, element, "NoteXML", /*required=*/true);
    ReadAttribute(letterLabels_, element, "LetterLabels");
    AppSettings& settings = DllAppSettingsInstance();
    config_->FillLookup(settings.octaveLookup);
    if (!(settings.desiredFrequency > 0.0f)) settings.desiredFrequency = 440.0f;
    FindWidgets();

    // The level gate measures the input through its line's real volume scale.
    DllPitchAnalyserInstance().SetGainSource([] {
        AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive();
        return audio ? static_cast<double>(audio->InputGain()) : PitchAnalyser::kNominalGain;
    });
    AudioSystem& audio = DllAudioSystemInstance();
    sourceListener_ = audio.AddInputSourceListener([this](double type) {
        const std::string name = DllAudioSystemInstance().InputLineForType(static_cast<int>(type));
        if (!name.empty()) InputChosen(name);
    });
    BuildMenus();
    if (audio.InputLineNames().empty()) Pym::ShowMessageBox(*this, kNoInputLines, "OK");
    volumes_ = std::make_unique<VolumeSliderBinding>(Require<Pym::ObjectSlider>("VolumeInput"),
                                                     Require<Pym::ObjectSlider>("VolumeOutput"));

    desiredFrequency_->ConnectSlot(EditBoxSignal::Id(), nullptr, [this](Base& signal, GuiObject*) {
        SetTargetFromText(static_cast<EditBoxSignal&>(signal).text);
    });
    desiredFrequency_->SetText(Format("%0.2f", settings.desiredFrequency));
    threshold_->SetValue(settings.levelThreshold);
    threshold_->ConnectSlot(ObjectSliderSignal::Id(), nullptr, [](Base& signal, GuiObject*) {
        DllAppSettingsInstance().levelThreshold = static_cast<ObjectSliderSignal&>(signal).value;
    });
    // Listening follows the screen: shown and not on standby.
    ConnectSlot(ScreenActivation::Id(), nullptr, [this](Base& signal, GuiObject*) {
        const bool shown = static_cast<ScreenActivation&>(signal).active != 0;
        if (shown) volumes_->Refresh();
        Listen(shown && !standby_->IsDown());
        if (!shown && play_->IsDown()) {
            play_->SetDown(false);
            DllAudioSystemInstance().StopOutput();
        }
    });
    RebuildNotes();
    SetAutoSelect(true);
    lastReadOut_ = lastTitle_ = std::chrono::steady_clock::now();
}

void TunerLayout::FindWidgets() {
    standby_ = &Require<Pym::ToggleButton>("Standby");
    play_ = &Require<Pym::ToggleButton>("Play");
    autoSelect_ = &Require<Pym::ToggleButton>("AutoSelect");
    instruments_ = std::make_unique<ChoiceMenu>(Require<MenuButton>("INST"),
                                                Require<ComboBox>("InstrumentCombo"));
    styles_ =
        std::make_unique<ChoiceMenu>(Require<MenuButton>("STYLE"), Require<ComboBox>("StyleCombo"));
    transpositions_ = std::make_unique<ChoiceMenu>(Require<MenuButton>("TRANS"),
                                                   Require<ComboBox>("TransposeCombo"));
    inputs_ =
        std::make_unique<ChoiceMenu>(Require<MenuButton>("INPUT"), Require<ComboBox>("InputCombo"));
    threshold_ = &Require<Pym::ObjectSlider>("ThresholdSlider");
    desiredFrequency_ = &Require<Pym::EditBox>("DesiredFrequency");
    visFreq_ = &Require<Pym::Text>("VisFreq");
    visNote_ = &Require<Pym::Text>("VisNote");
    // The read-outs change with the displays, many times a second: all repaint alone.
    visFreq_->KeepBackdrop();
    visNote_->KeepBackdrop();
    noteContainer_ = &Require<Pym::GridLayout>("NoteContainer");
    // The calibration's buttons and read-out are the skin's to offer.
    calibration_ = GetXMLObject<Pym::Text>("Calibration");
    for (auto [name, step] : {std::pair{"CalibrateDown", -NoteStore::kA4Step},
                              std::pair{"CalibrateUp", NoteStore::kA4Step}})
        if (Pym::GuiObject* button = GetXMLObject<Pym::GuiObject>(name))
            button->ConnectSlot(Activate::Id(), nullptr, [this, step](Base&, Pym::GuiObject*) {
                SetCalibration(config_->noteStore.Calibration() + step);
            });
    const char* displays[] = {"TuneVis", "SampleVis", "ThresholdVis", "PowerLightVis"};
    for (int i = 0; i < 4; ++i) displays_[i] = &Require<VisBase>(displays[i]);
}

void TunerLayout::BuildMenus() {
    instruments_->Offer(config_->instrumentStore.Names());
    instruments_->OnChosen([this](const std::string& name) { InstrumentChosen(name); });
    const std::vector<Instrument>& all = config_->instrumentStore.Instruments();
    styles_->Offer(all.empty() ? std::vector<std::string>() : all.front().StyleNames());
    styles_->OnChosen([this](const std::string& name) { StyleChosen(name); });
    transpositions_->Offer(config_->transposeStore.Names());
    transpositions_->OnChosen([this](const std::string& name) { TransposeChosen(name); });
    DllAppSettingsInstance().transposeShift =
        config_->transposeStore.ShiftOf(transpositions_->Shown());

    AudioSystem& audio = DllAudioSystemInstance();
    inputs_->Offer(audio.InputLineNames());
    inputs_->Show(audio.SelectedInputLineName());
    inputs_->OnChosen([this](const std::string& name) { InputChosen(name); });
}

// --- the input ----------------------------------------------------------------------------

bool TunerLayout::Listening() const {
    AudioSystem* audio = Pym::Singleton<AudioSystem>::IfAlive();
    return audio && audio->Input().IsOpen();
}

void TunerLayout::Listen(bool on) {
    AudioSystem& audio = DllAudioSystemInstance();
    if (!on) {
        if (Listening()) audio.StopInput();
        return;
    }
    if (audio.RestoreInputAnalysis() == kStreamNoError) return;
    audio.StopInput();
    // Back on standby, as if the user had not switched it off, then say why.
    standby_->SetDown(true);
    Pym::ShowMessageBox(*this, kCannotListen, "OK");
}

void TunerLayout::StandbyActiveSlot(Activate& signal) {
    auto* toggle = dynamic_cast<Pym::ToggleButton*>(signal.sender);
    Listen(!(toggle ? toggle : standby_)->IsDown());
}

void TunerLayout::InputChosen(const std::string& name) {
    if (!ChoiceMenu::IsChoice(name)) return;
    inputs_->Show(name);
    AudioSystem& audio = DllAudioSystemInstance();
    audio.SelectInputLine(name);
    // A line chosen starts at its full volume.
    audio.SetInputVolume(100);
    volumes_->Refresh();
}

// --- notes and the target -----------------------------------------------------------------

void TunerLayout::InstrumentChosen(const std::string& name) {
    if (!ChoiceMenu::IsChoice(name) || name == instruments_->Shown()) return;
    Instrument* instrument = config_->instrumentStore.Find(name);
    if (!instrument) return;
    instruments_->Show(name);
    styles_->Offer(instrument->StyleNames());
    RebuildNotes();
}

void TunerLayout::StyleChosen(const std::string& name) {
    if (!ChoiceMenu::IsChoice(name)) return;
    styles_->Show(name);
    RebuildNotes();
}

void TunerLayout::TransposeChosen(const std::string& name) {
    if (!ChoiceMenu::IsChoice(name)) return;
    transpositions_->Show(name);
    DllAppSettingsInstance().transposeShift = config_->transposeStore.ShiftOf(name);
    RebuildNotes();
}

void TunerLayout::RebuildNotes() {
    for (const auto& button : noteButtons_) noteContainer_->RemoveChild(button.get(), false);
    noteButtons_.clear();
    noteDocuments_.Clear();
    targets_.clear();
    Instrument* instrument = config_->instrumentStore.Find(instruments_->Shown());
    Style* style = instrument ? instrument->FindStyle(styles_->Shown()) : nullptr;
    AppSettings& settings = DllAppSettingsInstance();
    if (style)
        style->BuildNotes(
            settings.transposeShift, config_->noteStore,
            [this](const std::string& label, float frequency) {
                targets_.emplace_back(label, frequency);
            },
            letterLabels_);
    const float count = static_cast<float>(std::max<std::size_t>(targets_.size(), 1));
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        TiXmlElement* item = GetRootElement(noteDocument_, GetElement(), false, &noteDocuments_);
        if (!item)
            ReportXmlError(GetElement(), "TunerLayout: no note button document " + noteDocument_);
        FillPlaceholders(item, {{"%NAME%", targets_[i].first}});
        std::unique_ptr<Pym::GuiObject> button =
            Pym::CreateNamedObject(item->ValueStr(), targets_[i].first, noteContainer_, item);
        if (!button) continue;
        button->ConnectSlot(Activate::Id(), nullptr,
                            [this, i](Base&, Pym::GuiObject*) { NoteClicked(i); });
        noteContainer_->AddChildAtFractions(button.get(), static_cast<float>(i) / count, 0.0f,
                                            1.0f / count, 1.0f);
        noteButtons_.push_back(std::move(button));
    }
    noteContainer_->Relayout();
    noteContainer_->Redraw();
    if (style)
        settings.SetSpectrumTopFrequency(
            static_cast<int>(std::lround(style->HighestFrequency() + 50.0f)));
    HighlightTarget();
}

void TunerLayout::HighlightTarget() {
    const float target = DllAppSettingsInstance().desiredFrequency;
    for (std::size_t i = 0; i < noteButtons_.size(); ++i) {
        const bool chosen = targets_[i].second == target;
        if (noteButtons_[i]->IsSelected() == chosen) continue;
        noteButtons_[i]->SetForceSelected(chosen);
        noteButtons_[i]->Redraw();
    }
}

void TunerLayout::SetTarget(float frequency) {
    AppSettings& settings = DllAppSettingsInstance();
    if (frequency == settings.desiredFrequency) {
        // A clamped entry shows what it became.
        if (frequency == kHighestTarget) desiredFrequency_->SetText(Format("%0.2f", frequency));
        return;
    }
    settings.desiredFrequency = frequency;
    desiredFrequency_->SetText(Format("%0.2f", frequency));
    HighlightTarget();
    if (play_->IsDown()) PlayReference();
}

void TunerLayout::SetCalibration(float a4) {
    NoteStore& notes = config_->noteStore;
    const float before = notes.Calibration();
    const float target = DllAppSettingsInstance().desiredFrequency;
    std::size_t onNote = targets_.size();
    for (std::size_t i = 0; i < targets_.size(); ++i)
        if (targets_[i].second == target) onNote = i;
    const float after = notes.Calibrate(a4);
    if (calibration_) calibration_->SetText(Format("A4 %0.1f Hz", after));
    if (after == before) return;
    config_->FillLookup(DllAppSettingsInstance().octaveLookup);
    RebuildNotes();
    SetTarget(onNote < targets_.size()
                  ? targets_[onNote].second
                  : std::clamp(target * after / before, kLowestTarget, kHighestTarget));
    HighlightTarget();
}

void TunerLayout::SetTargetFromText(const std::string& text) {
    float frequency = 0.0f;
    if (!boost::conversion::try_lexical_convert(text, frequency) || !std::isfinite(frequency)) {
        // Not a number: the target stays, and the box shows it again.
        desiredFrequency_->SetText(Format("%0.2f", DllAppSettingsInstance().desiredFrequency));
        return;
    }
    SetTarget(std::clamp(frequency, kLowestTarget, kHighestTarget));
}

void TunerLayout::SetAutoSelect(bool on) {
    autoSelect_->SetDown(on);
    if (!on) return;
    for (const auto& button : noteButtons_) {
        button->SetForceSelected(false);
        button->Redraw();
    }
}

void TunerLayout::AutoSelectActiveSlot(Activate& signal) {
    auto* toggle = dynamic_cast<Pym::ToggleButton*>(signal.sender);
    SetAutoSelect((toggle ? toggle : autoSelect_)->IsDown());
    if (!autoSelect_->IsDown()) HighlightTarget();
}

void TunerLayout::NoteClicked(std::size_t index) {
    if (index >= targets_.size()) return;
    if (autoSelect_->IsDown()) {
        if (Pym::ShowMessageBox(*this, kAutoSelectIsOn, kLaterOrChange) == kChange) {
            SetAutoSelect(false);
            HighlightTarget();
        }
        return;
    }
    SetTarget(targets_[index].second);
}

// --- the reference tone -------------------------------------------------------------------

void TunerLayout::PlayReference() {
    std::vector<float> tone;
    ReferenceTone::Render(DllAppSettingsInstance().desiredFrequency, tone);
    BarBuffer& bar = DllBarBufferInstance();
    bar.Replace(tone);
    DllAudioSystemInstance().RestartOutputLooped(ReferenceTone::kSampleRate,
                                                 static_cast<int>(bar.Size()), &BarCallback, &bar);
}

void TunerLayout::PlayActiveSlot(Activate& signal) {
    auto* toggle = dynamic_cast<Pym::ToggleButton*>(signal.sender);
    if ((toggle ? toggle : play_)->IsDown())
        PlayReference();
    else
        DllAudioSystemInstance().StopOutput();
}

void TunerLayout::StopAll() {
    standby_->SetDown(false);
    play_->SetDown(false);
    AudioSystem& audio = DllAudioSystemInstance();
    audio.StopInput();
    audio.StopOutput();
}

// --- the read-outs ------------------------------------------------------------------------

bool TunerLayout::NeedsTicks() const {
    // The read-outs follow what the input hears.
    return Pym::GridLayout::NeedsTicks() || (Listening() && IsVisibleRecursive());
}

int TunerLayout::TickDelayMs() const {
    if (Pym::GridLayout::NeedsTicks()) return 0;
    // The analysis catches up with every frame at each read-out, so the screen wakes only
    // when one is due, and when the input's next piece is due if it has not come yet.
    // The wait for a piece ends where Refresh gives up on it, whatever the piece's pace
    // promised.
    const auto now = std::chrono::steady_clock::now();
    const PitchAnalyser& analyser = DllPitchAnalyserInstance();
    const double interval = DllAppSettingsInstance().readOutInterval;
    const double since = Seconds(now - lastReadOut_);
    double left = interval - since;
    if (!framesSinceReadOut_ && !analyser.HasNewFrame())
        left = std::min(std::max(left, Seconds(analyser.NextPieceDue() - now) + kPieceLateSeconds),
                        kLongestWaitIntervals * interval - since);
    return left > 0.0 ? static_cast<int>(std::ceil(left * 1000.0)) : 0;
}

void TunerLayout::OnTimer(Timer& signal) {
    Pym::GridLayout::OnTimer(signal);
    if (IsVisibleRecursive()) Refresh();
}

void TunerLayout::Refresh() {
    const auto now = std::chrono::steady_clock::now();
    AppSettings& settings = DllAppSettingsInstance();
    PitchAnalyser& analyser = DllPitchAnalyserInstance();
    framesSinceReadOut_ |= analyser.HasNewFrame();
    analyser.GetFrequency();
    const double since = Seconds(now - lastReadOut_);
    if (since < settings.readOutInterval) return;
    // The input arrives in pieces about as long as the interval: a read-out due before the
    // next piece waits for it, so it follows each piece closely instead of at whatever beat
    // the two clocks make (up to a whole interval later). A stalled input is not waited for
    // past a second interval.
    if (!framesSinceReadOut_ && since < kLongestWaitIntervals * settings.readOutInterval) return;
    lastReadOut_ = now;
    if (!framesSinceReadOut_) return;
    framesSinceReadOut_ = false;
    const float frequency = analyser.GetFrequency();
    if (autoSelect_->IsDown()) {
        const std::string name = settings.NoteName(frequency);
        for (const auto& [label, target] : targets_)
            if (!name.empty() && settings.NoteName(target) == name) {
                SetTarget(target);
                break;
            }
    }
    // Until a note has been heard there is nothing to name.
    const bool heard = frequency > 0.0f;
    const std::string shown = heard ? Format("%0.2f Hz", frequency) : std::string();
    const std::string letters = heard ? settings.NoteLetters(frequency) : std::string();
    if (shown != visFreq_->GetText() || letters != visNote_->GetText())
        Pym::Trace("Tuner: " + shown + " " + letters + ", target " +
                   Format("%0.2f Hz", settings.desiredFrequency));
    visFreq_->SetText(shown);
    visNote_->SetText(letters);
    for (VisBase* display : displays_) display->RedrawChanges();
    if (Seconds(now - lastTitle_) >= settings.titleInterval) {
        lastTitle_ = now;
        RefreshTitle();
    }
}

void TunerLayout::RefreshTitle() {
    Pym::Window* window = ContainingWindow();
    if (!window) return;
    if (!titleCaptured_) {
        capturedTitle_ = window->GetTitle();
        titleCaptured_ = true;
    }
    AppSettings& settings = DllAppSettingsInstance();
    std::string title = capturedTitle_;
    if (window->IsMinimized()) {
        // Until a note is heard the read-out is blank: the title names the program instead.
        const std::string& heard = visFreq_->GetText();
        char text[256];
        std::snprintf(text, sizeof text, "%s (%0.2f Hz, %s)",
                      (heard.empty() ? capturedTitle_ : heard).c_str(), settings.desiredFrequency,
                      settings.NoteLetters(settings.desiredFrequency).c_str());
        title = text;
    }
    if (title != window->GetTitle()) window->SetTitle(title);
}

// --- the window and the screens -----------------------------------------------------------

Pym::Window* TunerLayout::ContainingWindow() {
    return ScreenChrome::ContainingWindow(*this);
}

void TunerLayout::HelpActiveSlot(Activate&) {
    ScreenChrome::ShowAbout(*this, GetChildElement(GetElement(), "AboutWindow"));
}

void TunerLayout::CloseClickedSlot(Activate&) {
    ScreenChrome::Close(*this);
}

void TunerLayout::MinimiseClickedSlot(Activate&) {
    ScreenChrome::Minimise(*this);
}

void TunerLayout::SwitchClickedSlot(Activate&) {
    StopAll();
}

void TunerLayout::VisibilityChangeSlot(ObjectVisibilityChange& signal) {
    if (signal.visible) volumes_->Refresh();
}

void TunerLayout::NoteContainerReady(ObjectReady&) {
    if (choicesLoaded_) return;
    choicesLoaded_ = true;
    LoadChoices();
}

// --- what is kept between runs ------------------------------------------------------------

void TunerLayout::LoadChoices() {
    // Names the lists no longer offer keep the fresh start's choices.
    const std::string instrument = ReadProfileString(kInstrumentKey, "");
    if (instruments_->Offers(instrument)) InstrumentChosen(instrument);
    const std::string style = ReadProfileString(kStyleKey, "");
    if (styles_->Offers(style)) StyleChosen(style);
    const std::string transpose = ReadProfileString(kTransposeKey, "");
    if (transpositions_->Offers(transpose)) TransposeChosen(transpose);
    float a4 = NoteStore::kStandardA4;
    boost::conversion::try_lexical_convert(ReadProfileString(kCalibrationKey, Format("%0.1f", a4)),
                                           a4);
    SetCalibration(a4);
}

void TunerLayout::SaveChoices() {
    if (!choicesLoaded_) return;
    WriteProfileStrings({{kInstrumentKey, instruments_->Shown()},
                         {kStyleKey, styles_->Shown()},
                         {kTransposeKey, transpositions_->Shown()},
                         {kCalibrationKey, Format("%0.1f", config_->noteStore.Calibration())}});
}
