// The profile reader: any bytes give a document, and what is saved reads back the same.
#include <cstdint>
#include <string>

#include "platform/IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Platform::IniDocument document = Platform::IniDocument::Parse(text);
    const std::string saved = document.Serialise();
    if (Platform::IniDocument::Parse(saved).Serialise() != saved) __builtin_trap();
    if (Platform::IniDocument::Unescape(Platform::IniDocument::Escape(text)) != text)
        __builtin_trap();
    // A value set from arbitrary bytes comes back unchanged after a save and a read.
    Platform::IniDocument edited = document;
    edited.Set(text, text, text);
    const auto back = Platform::IniDocument::Parse(edited.Serialise()).Get(text, text);
    if (!back || *back != text) __builtin_trap();
    return 0;
}
