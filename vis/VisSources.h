#pragma once

#include <functional>
#include <vector>

// Where the kit's displays take their numbers. Sources return arrays they keep, so a display
// redraws without allocating.
using SampleSource = std::function<const std::vector<float>&()>;
using ValueSource = std::function<float()>;

// The latest block of input samples for the scopes: a copy of the scope buffer's block, or as
// many zeros while the input is stopped, so a stopped input shows a flat line.
class ScopeSource {
public:
    ScopeSource();
    const std::vector<float>& Get();

private:
    std::vector<float> block_;
};

// The process's sources of input data for the displays.
SampleSource InputScopeSource();
SampleSource InputSpectrumSource();
