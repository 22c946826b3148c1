#include "platform/SdlKeys.h"

#include "platform/HostWindow.h"

namespace Platform {

std::uint32_t NextCodePoint(const char*& text) {
    auto byte = [&text] { return static_cast<unsigned char>(*text++); };
    std::uint32_t first = byte();
    int extra = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
    std::uint32_t code = extra == 3   ? first & 0x07
                         : extra == 2 ? first & 0x0F
                         : extra == 1 ? first & 0x1F
                                      : first;
    for (int i = 0; i < extra && (static_cast<unsigned char>(*text) & 0xC0) == 0x80; ++i)
        code = code << 6 | (byte() & 0x3F);
    return code;
}

std::uint32_t SpecialKeyCode(SDL_Keycode sym) {
    switch (sym) {
        case SDLK_BACKSPACE:
            return KeyBackspace;
        case SDLK_LEFT:
            return KeyLeft;
        case SDLK_UP:
            return KeyUp;
        case SDLK_RIGHT:
            return KeyRight;
        case SDLK_DOWN:
            return KeyDown;
        case SDLK_PAGEUP:
            return KeyPageUp;
        case SDLK_PAGEDOWN:
            return KeyPageDown;
        case SDLK_HOME:
            return KeyHome;
        case SDLK_END:
            return KeyEnd;
        case SDLK_DELETE:
            return KeyDelete;
        default:
            return 0;
    }
}

std::uint32_t ControlCharacter(SDL_Keycode sym, Uint16 modifiers) {
    switch (sym) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_ESCAPE:
            return 27;
        default:
            break;
    }
    if ((modifiers & KMOD_CTRL) && sym >= SDLK_a && sym <= SDLK_z)
        return static_cast<std::uint32_t>(sym - SDLK_a + 1);
    return 0;
}

}  // namespace Platform
