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

}  // namespace Pym
