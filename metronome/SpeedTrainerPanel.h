#pragma once

#include <functional>
#include <memory>
#include <string>

#include "metronome/SpeedTrainer.h"
#include "widgets/ChoiceMenu.h"

namespace Pym {
class EditBox;
class GuiObject;
class ToggleButton;
}  // namespace Pym

// The speed trainer's controls on the metronome screen: the "Trainer" toggle, and the
// "TrainerPanel" with its start, target, step and bar fields and its "at the target" menu,
// shown in place of the presets while the toggle is down. A skin without them has no
// trainer.
class SpeedTrainerPanel {
public:
    using Handler = std::function<void()>;

    // Null unless `screen` holds every control.
    static std::unique_ptr<SpeedTrainerPanel> Find(Pym::GuiObject& screen);

    // Runs when the toggle or a field changes what Play would start.
    void OnChanged(Handler handler) { changed_ = std::move(handler); }
    void Show(bool on, const SpeedTrainerPlan& plan);

    bool IsOn() const;
    const SpeedTrainerPlan& Plan() const { return plan_; }

    // A field's text as the plan takes it: a whole number kept within [lowest, highest];
    // anything else keeps `current`.
    static int FieldValue(const std::string& text, int current, int lowest, int highest);

private:
    SpeedTrainerPanel(Pym::ToggleButton& toggle, Pym::GuiObject& panel, Pym::GuiObject* presets,
                      std::unique_ptr<ChoiceMenu> atTarget, Pym::EditBox* fields[4]);
    void Commit(int field, const std::string& text);
    void Refresh();

    Pym::ToggleButton& toggle_;
    Pym::GuiObject& panel_;
    Pym::GuiObject* presets_;
    std::unique_ptr<ChoiceMenu> atTarget_;
    Pym::EditBox* fields_[4];  // start, target, step, bars
    SpeedTrainerPlan plan_;
    Handler changed_;
};
