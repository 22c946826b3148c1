#pragma once

#include "pym/gui/AlignedFlowLayout.h"
#include "pym/gui/PaddedFlowLayout.h"

namespace Pym {

// The three flow layouts by their policy, and their concrete names.
struct StartAligned;
struct EndAligned;
struct AbsolutePadded;

template <class Policy>
class FlowLayout_;

template <>
class FlowLayout_<StartAligned> : public AlignedFlowLayout {
public:
    FlowLayout_() : AlignedFlowLayout(false) {}
};

template <>
class FlowLayout_<EndAligned> : public AlignedFlowLayout {
public:
    FlowLayout_() : AlignedFlowLayout(true) {}
};

template <>
class FlowLayout_<AbsolutePadded> : public PaddedFlowLayout {};

using FlowLayoutStartAligned = FlowLayout_<StartAligned>;
using FlowLayoutEndAligned = FlowLayout_<EndAligned>;
using FlowLayoutAbsolutePadded = FlowLayout_<AbsolutePadded>;

}  // namespace Pym
