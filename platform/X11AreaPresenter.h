#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

namespace Platform {

// Copies small areas of a window's picture to its X11 window in requests that carry the pixels
// (XPutImage) and goes on without waiting for the server. SDL's window update lends the server
// shared memory and then waits for it to finish reading (a round trip each time); for a few
// small displays refreshed twenty times a second, sending their pixels costs far less. The
// pixels travel in the request, so the picture may be drawn into again at once.
class X11AreaPresenter {
public:
    explicit X11AreaPresenter(SDL_Window* window) : window_(window) {}
    ~X11AreaPresenter();
    X11AreaPresenter(const X11AreaPresenter&) = delete;
    X11AreaPresenter& operator=(const X11AreaPresenter&) = delete;

    // Sends the areas of the picture (32 bits a pixel, blue in the low byte, stride in bytes),
    // which lie inside it. False, having sent nothing, when this way does not suit: not X11, a
    // visual laid out otherwise, or areas large enough that shared memory is cheaper.
    bool Present(const std::uint32_t* pixels, int width, int height, int stride,
                 const std::vector<SDL_Rect>& areas);

private:
    bool Open();

    SDL_Window* window_;
    bool opened_ = false, usable_ = false;
    void* display_ = nullptr;  // Display*, kept out of this header with the rest of Xlib
    unsigned long xwindow_ = 0;
    void* gc_ = nullptr;
    void* visual_ = nullptr;
    int depth_ = 0;
};

}  // namespace Platform
