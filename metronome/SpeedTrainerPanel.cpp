#include "metronome/SpeedTrainerPanel.h"

#include <algorithm>
#include <charconv>

#include "metronome/MetronomeChoices.h"
#include "pym/gui/EditBox.h"
#include "pym/gui/ObjectLookup.h"
#include "pym/gui/ToggleButton.h"
#include "widgets/ComboBox.h"
#include "widgets/MenuButton.h"

namespace {

using namespace Pym::Signal;

// Inside the panel.
constexpr const char* kFieldNames[] = {"TrainerStart", "TrainerTarget", "TrainerStep",
                                       "TrainerBars"};
constexpr const char* kAtTarget[] = {"Stop", "Loop"};

template <class T>
T* Named(Pym::GuiObject& screen, const char* name) {
    return dynamic_cast<T*>(Pym::FindObject(&screen, name));
}

int& PlanField(SpeedTrainerPlan& plan, int field) {
    int* fields[] = {&plan.startBpm, &plan.targetBpm, &plan.stepBpm, &plan.everyBars};
    return *fields[field];
}

}  // namespace

std::unique_ptr<SpeedTrainerPanel> SpeedTrainerPanel::Find(Pym::GuiObject& screen) {
    auto* toggle = Named<Pym::ToggleButton>(screen, "Trainer");
    auto* panel = Named<Pym::GuiObject>(screen, "TrainerPanel");
    auto* list = Named<ComboBox>(screen, "TrainerEndCombo");
    if (!toggle || !panel || !list) return nullptr;
    auto* caption = Named<MenuButton>(*panel, "TRAINEREND");
    Pym::EditBox* fields[4];
    for (int i = 0; i < 4; ++i) fields[i] = Named<Pym::EditBox>(*panel, kFieldNames[i]);
    if (!caption || std::count(fields, fields + 4, nullptr)) return nullptr;
    return std::unique_ptr<SpeedTrainerPanel>(
        new SpeedTrainerPanel(*toggle, *panel, Named<Pym::GuiObject>(screen, "PresetContainer"),
                              std::make_unique<ChoiceMenu>(*caption, *list), fields));
}

SpeedTrainerPanel::SpeedTrainerPanel(Pym::ToggleButton& toggle, Pym::GuiObject& panel,
                                     Pym::GuiObject* presets, std::unique_ptr<ChoiceMenu> atTarget,
                                     Pym::EditBox* fields[4])
    : toggle_(toggle), panel_(panel), presets_(presets), atTarget_(std::move(atTarget)) {
    std::copy(fields, fields + 4, fields_);
    for (int i = 0; i < 4; ++i)
        fields_[i]->ConnectSlot(EditBoxSignal::Id(), nullptr,
                                [this, i](Base& signal, Pym::GuiObject*) {
                                    Commit(i, static_cast<EditBoxSignal&>(signal).text);
                                });
    toggle_.ConnectSlot(Activate::Id(), nullptr, [this](Base&, Pym::GuiObject*) {
        Refresh();
        if (changed_) changed_();
    });
    atTarget_->Offer({std::begin(kAtTarget), std::end(kAtTarget)});
    atTarget_->OnChosen([this](const std::string& name) {
        plan_.loop = name == kAtTarget[1];
        Refresh();
        if (changed_) changed_();
    });
    Refresh();
}

int SpeedTrainerPanel::FieldValue(const std::string& text, int current, int lowest, int highest) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        // Digits too many for a number still mean "as far as it goes".
        if (error == std::errc::result_out_of_range && stop == end)
            return text[0] == '-' ? lowest : highest;
        return current;
    }
    return static_cast<int>(std::clamp<long long>(value, lowest, highest));
}

void SpeedTrainerPanel::Commit(int field, const std::string& text) {
    constexpr int kLowest[] = {MetronomeChoices::kSlowestBpm, MetronomeChoices::kSlowestBpm, 1, 1};
    constexpr int kHighest[] = {MetronomeChoices::kFastestBpm, MetronomeChoices::kFastestBpm,
                                MetronomeChoices::kFastestBpm - MetronomeChoices::kSlowestBpm,
                                MetronomeChoices::kMostTrainerBars};
    int& value = PlanField(plan_, field);
    const int before = value;
    value = FieldValue(text, value, kLowest[field], kHighest[field]);
    Refresh();
    if (value != before && changed_) changed_();
}

void SpeedTrainerPanel::Show(bool on, const SpeedTrainerPlan& plan) {
    plan_ = plan;
    toggle_.SetDown(on);
    Refresh();
}

bool SpeedTrainerPanel::IsOn() const {
    return toggle_.IsDown();
}

void SpeedTrainerPanel::Refresh() {
    for (int i = 0; i < 4; ++i) fields_[i]->SetText(std::to_string(PlanField(plan_, i)));
    atTarget_->Show(kAtTarget[plan_.loop ? 1 : 0]);
    const bool on = IsOn();
    if (panel_.IsVisible() == on) return;
    // The panel and the presets share their place: whichever shows repaints it.
    panel_.SetVisible(on);
    if (presets_) presets_->SetVisible(!on);
    (on || !presets_ ? panel_ : *presets_).Redraw();
}
