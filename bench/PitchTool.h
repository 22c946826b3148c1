#pragma once

#include <ostream>
#include <string>
#include <vector>

// ondrel-pitch: the frequency the tuner would show for a sound file, one line per analysed
// frame ("seconds hertz"). Returns the process's exit status.
int RunPitchTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
