#include "pym/gui/ToolTipHook.h"

namespace Pym {

namespace {

ToolTipFactory& Factory() {
    static ToolTipFactory factory;
    return factory;
}

}  // namespace

void SetToolTipFactory(ToolTipFactory factory) {
    Factory() = std::move(factory);
}

const ToolTipFactory& GetToolTipFactory() {
    return Factory();
}

namespace {

ToolTipWindow*& Shown() {
    static ToolTipWindow* shown = nullptr;
    return shown;
}

}  // namespace

void NoteToolTipShown(ToolTipWindow* tip) {
    ToolTipWindow* previous = Shown();
    Shown() = tip;
    if (previous && previous != tip) previous->Hide();
}

void NoteToolTipGone(ToolTipWindow* tip) {
    if (Shown() == tip) Shown() = nullptr;
}

void HideShownToolTip() {
    if (ToolTipWindow* shown = Shown()) shown->Hide();
}

}  // namespace Pym
