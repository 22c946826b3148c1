#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pym/core/GridVal.h"

namespace Pym {

// One keyframe of a child's appearance animation: at `timeMs` after the start the child
// takes the alpha and placement given, and the named signal is raised from it.
struct Keyframe {
    float timeMs = 0.0f;
    std::string signal;
    std::optional<float> alpha;
    std::optional<GridVal> x, y, width, height;
    bool fired = false;

    bool HasPlacement() const { return x && y && width && height; }
};

using Animation = std::vector<Keyframe>;
using AnimationPtr = std::shared_ptr<Animation>;

}  // namespace Pym
