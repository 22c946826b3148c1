// Kept apart from the rest of the host: Xlib's headers define macros (Expose, None, Bool)
// that collide with ordinary names.
#include "platform/WindowShape.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

namespace Platform {

bool ApplyWindowShape(SDL_Window* window, const std::vector<HostRect>& rectangles) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    std::vector<XRectangle> xRectangles;
    xRectangles.reserve(rectangles.size());
    for (const HostRect& r : rectangles)
        xRectangles.push_back(XRectangle{static_cast<short>(r.x), static_cast<short>(r.y),
                                         static_cast<unsigned short>(r.width),
                                         static_cast<unsigned short>(r.height)});
    for (int kind : {ShapeBounding, ShapeInput})
        XShapeCombineRectangles(info.info.x11.display, info.info.x11.window, kind, 0, 0,
                                xRectangles.data(), static_cast<int>(xRectangles.size()), ShapeSet,
                                Unsorted);
    XFlush(info.info.x11.display);
    return true;
}

}  // namespace Platform
