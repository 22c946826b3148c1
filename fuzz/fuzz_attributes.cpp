// Attribute texts through every typed reader, the font reader and GridVal's grammar.
#include <cmath>
#include <cstdint>
#include <string>

#include "pym/base/Trace.h"
#include "pym/core/GridVal.h"
#include "pym/core/XMLLoadSave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (Pym::SetTraceHook([](const std::string&) {}), true);
    (void)quiet;
    const std::string text(reinterpret_cast<const char*>(data), size);
    // TinyXML keeps attribute values as C strings.
    const std::string value = text.substr(0, text.find('\0'));

    TiXmlDocument document;
    auto* element = new TiXmlElement("Font");
    document.LinkEndChild(element);
    for (const char* name : {"A", "Family", "Size", "Style", "Conversion", "Units", "Percentage"})
        element->SetAttribute(name, value);

    using Pym::XMLLoadSave;
    try {
        std::string s;
        float f = 0;
        int i = 0;
        long l = 0;
        bool b = false;
        Pym::ColourPtr colour;
        Pym::FontStyle style{};
        XMLLoadSave::ReadAttribute(s, element, "A");
        XMLLoadSave::ReadAttribute(f, element, "A");
        XMLLoadSave::ReadAttribute(i, element, "A");
        XMLLoadSave::ReadAttribute(l, element, "A");
        XMLLoadSave::ReadAttribute(b, element, "A");
        XMLLoadSave::ReadAttribute(colour, element, "A");
        XMLLoadSave::ReadAttribute(style, element, "A");
        XMLLoadSave::ReadAttributeStrict(i, element, "A");
        XMLLoadSave::ReadAttributeText(s, element, "A");
        Pym::FontPtr font;
        XMLLoadSave::ReadFont(font, element);
    } catch (const Pym::XMLLoadSaveException&) {
    }
    try {
        const Pym::GridVal parsed = Pym::GridVal::Parse(value);
        // What is written back reads back the same, for values a layout can hold (the text
        // form has no exponent).
        auto plain = [](float v) {
            return v == 0 || (std::fabs(v) >= 1e-3f && std::fabs(v) < 1e5f);
        };
        const std::string written = parsed.ToString();
        if (plain(parsed.units) && plain(parsed.percentage) &&
            Pym::GridVal::Parse(written).ToString() != written)
            __builtin_trap();
        Pym::GridVal fromElement(element);
        (void)fromElement;
    } catch (const Pym::XMLLoadSaveException&) {
    }
    return 0;
}
