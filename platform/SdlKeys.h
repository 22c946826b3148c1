#pragma once

#include <SDL2/SDL.h>

#include <cstdint>

namespace Platform {

// How SDL's key and text events become the codes the framework takes: the character of a
// text, the code of a special key (to be marked as a key-down), the control character a key
// gives without text input.

// Decodes one UTF-8 sequence; returns the code point and advances `text`.
std::uint32_t NextCodePoint(const char*& text);
// Backspace, the arrows, Home, End and Delete; 0 for any other key.
std::uint32_t SpecialKeyCode(SDL_Keycode sym);
// Backspace 8, Tab 9, Enter 13, Escape 27, Ctrl+letter 1..26; 0 otherwise.
std::uint32_t ControlCharacter(SDL_Keycode sym, Uint16 modifiers);

}  // namespace Platform
