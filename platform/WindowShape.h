#pragma once

#include <SDL2/SDL.h>

#include <vector>

#include "platform/HostWindow.h"

namespace Platform {

// Cuts a native window to the union of the rectangles, for drawing and for the mouse alike.
// Only X11 can; elsewhere the window stays rectangular and the call returns false.
bool ApplyWindowShape(SDL_Window* window, const std::vector<HostRect>& rectangles);

}  // namespace Platform
