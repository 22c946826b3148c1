#pragma once

namespace Pym::Gfx {

enum class TextAlignment { Near, Center, Far };
enum class TextTrimming { None, Character, Word, EllipsisCharacter, EllipsisWord };

}  // namespace Pym::Gfx
