#include <iostream>

#include "bench/PitchTool.h"

int main(int argc, char** argv) {
    return RunPitchTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
