#pragma once

#include <functional>
#include <optional>
#include <string>

// `ondrel-metronome --export FILE.wav --bpm N ...`: writes a click track without a window or
// a sound device.
namespace ExportCommand {

// Whether the command line asks for an export.
bool Requested(int argc, char** argv);
// Enters the skin named by --skin (or found as the program finds it); false, having said why,
// when there is none.
using SkinEntry = std::function<bool(const std::optional<std::string>& skinOption)>;

// Runs it: 0 when the file is written, 2 for a bad argument, 1 when the file cannot be
// written or a sample set's skin cannot be found; one line on standard error says what went
// wrong. The skin is entered only for a sample set.
int Run(int argc, char** argv, const SkinEntry& enterSkin);

}  // namespace ExportCommand
