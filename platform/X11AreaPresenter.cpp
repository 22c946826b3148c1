#include "platform/X11AreaPresenter.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace Platform {

namespace {

// Beyond this many pixels in one present (a whole screen repainted, a resize), the shared
// memory's round trip costs less than sending the pixels.
constexpr long kMostPixels = 64 * 1024;

bool HostIsLittleEndian() {
    const std::uint32_t one = 1;
    return *reinterpret_cast<const unsigned char*>(&one) == 1;
}

}  // namespace

X11AreaPresenter::~X11AreaPresenter() {
    if (gc_) XFreeGC(static_cast<Display*>(display_), static_cast<GC>(gc_));
}

bool X11AreaPresenter::Open() {
    opened_ = true;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window_, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, info.info.x11.window, &attributes)) return false;
    const Visual* visual = attributes.visual;
    // The picture's layout as the server's: 8 bits each of red, green, blue in a 32-bit word,
    // in the byte order this machine writes it.
    if ((attributes.depth != 24 && attributes.depth != 32) || visual->red_mask != 0xff0000 ||
        visual->green_mask != 0xff00 || visual->blue_mask != 0xff ||
        (ImageByteOrder(display) == LSBFirst) != HostIsLittleEndian())
        return false;
    display_ = display;
    xwindow_ = info.info.x11.window;
    visual_ = attributes.visual;
    depth_ = attributes.depth;
    gc_ = XCreateGC(display, xwindow_, 0, nullptr);
    return gc_ != nullptr;
}

bool X11AreaPresenter::Present(const std::uint32_t* pixels, int width, int height, int stride,
                               const std::vector<SDL_Rect>& areas) {
    long count = 0;
    for (const SDL_Rect& area : areas) count += static_cast<long>(area.w) * area.h;
    if (count > kMostPixels) return false;
    if (!opened_) usable_ = Open();
    if (!usable_) return false;

    XImage image{};
    image.width = width;
    image.height = height;
    image.format = ZPixmap;
    image.data = const_cast<char*>(reinterpret_cast<const char*>(pixels));
    image.byte_order = HostIsLittleEndian() ? LSBFirst : MSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = image.byte_order;
    image.bitmap_pad = 32;
    image.depth = depth_;
    image.bytes_per_line = stride;
    image.bits_per_pixel = 32;
    const Visual* visual = static_cast<const Visual*>(visual_);
    image.red_mask = visual->red_mask;
    image.green_mask = visual->green_mask;
    image.blue_mask = visual->blue_mask;
    if (!XInitImage(&image)) return false;

    Display* display = static_cast<Display*>(display_);
    for (const SDL_Rect& area : areas)
        XPutImage(display, xwindow_, static_cast<GC>(gc_), &image, area.x, area.y, area.x, area.y,
                  static_cast<unsigned>(area.w), static_cast<unsigned>(area.h));
    XFlush(display);
    return true;
}

}  // namespace Platform
