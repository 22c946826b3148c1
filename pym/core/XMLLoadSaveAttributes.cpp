// Typed attribute reading and writing of XMLLoadSave, with the two substitutions every value
// goes through: the library token and references to other elements' attributes.
#include <memory>

#include "pym/base/Trace.h"
#include "pym/core/AttributeText.h"
#include "pym/core/DocMap.h"
#include "pym/core/Document.h"
#include "pym/core/XMLLoadSave.h"

namespace Pym {

namespace {

// A value may refer to a value that refers again; the bound stops a reference to itself.
constexpr int kMaxSubstitutions = 64;
constexpr int kMaxSearchSteps = 100000;

// The element that the reference search moves to after `element`: its parent, or for the
// root of a base document the root of the document that inherited it.
const TiXmlElement* NextEnclosing(const TiXmlElement* element) {
    const TiXmlNode* parent = element->Parent();
    if (parent && parent->ToElement()) return parent->ToElement();
    const Document* document = Document::Of(element);
    if (!document || parent != document) return nullptr;
    std::shared_ptr<Document> including = document->IncludingDocument();
    // The including document outlives the search: it owns the element being read, or holds
    // the object that borrowed this one.
    return including ? including->RootElement() : nullptr;
}

const std::string* FindReferencedValue(const TiXmlElement* element, const std::string& objectName,
                                       const std::string& attributeName) {
    const TiXmlElement* current = NextEnclosing(element);
    for (int step = 0; current && step < kMaxSearchSteps; ++step) {
        if (XMLLoadSave::MatchesName(current, objectName))
            if (const std::string* value = current->Attribute(attributeName)) return value;
        current = NextEnclosing(current);
    }
    return nullptr;
}

// Replaces "$Name!Attribute!" references by the values they name. False when the first
// reference cannot be resolved; after one has been, an unresolvable one leaves the text as it
// stands.
bool SubstituteReferences(std::string& text, const TiXmlElement* element) {
    bool substituted = false;
    for (int round = 0;; ++round) {
        std::size_t dollar = text.find('$');
        if (dollar == std::string::npos) return true;
        std::size_t first = text.find('!', dollar + 1);
        if (first == std::string::npos) return true;
        std::size_t second = text.find('!', first + 1);
        if (second == std::string::npos) return true;
        if (round == kMaxSubstitutions) {
            Trace("XMLLoadSave::ReadAttribute - references nest too deeply in " + text);
            return true;
        }
        const std::string* value =
            FindReferencedValue(element, text.substr(dollar + 1, first - dollar - 1),
                                text.substr(first + 1, second - first - 1));
        if (!value) return substituted;
        text.replace(dollar, second - dollar + 1, *value);
        substituted = true;
    }
}

TiXmlAttribute* FindAttribute(TiXmlElement* element, const std::string& name) {
    for (TiXmlAttribute* attribute = element->FirstAttribute(); attribute;
         attribute = attribute->Next())
        if (attribute->NameTStr() == name) return attribute;
    return nullptr;
}

template <class T, class Convert>
bool ReadConverted(T& target, const TiXmlElement* element, const std::string& name, bool required,
                   Convert convert) {
    std::string text;
    if (!XMLLoadSave::ReadAttributeText(text, element, name)) {
        if (required) XMLLoadSave::ReportXmlError(element, name);
        return false;
    }
    convert(text, target);
    return true;
}

}  // namespace

bool XMLLoadSave::ReadAttributeText(std::string& text, const TiXmlElement* element,
                                    const std::string& name) {
    if (!element) return false;
    const std::string* raw = element->Attribute(name);
    if (!raw) return false;
    std::string expanded = DllDocMapInstance().ExpandLibraryPath(*raw);
    if (!SubstituteReferences(expanded, element)) return false;
    text = std::move(expanded);
    return true;
}

bool XMLLoadSave::ReadAttribute(std::string& target, const TiXmlElement* element,
                                const std::string& name, bool required) {
    return ReadConverted(target, element, name, required,
                         [](const std::string& text, std::string& out) { out = text; });
}

bool XMLLoadSave::ReadAttribute(float& target, const TiXmlElement* element, const std::string& name,
                                bool required) {
    return ReadConverted(target, element, name, required, [](const std::string& text, float& out) {
        out = AttributeText::ParseFloat(text);
    });
}

bool XMLLoadSave::ReadAttribute(int& target, const TiXmlElement* element, const std::string& name,
                                bool required) {
    return ReadConverted(target, element, name, required, [](const std::string& text, int& out) {
        out = AttributeText::ParseInt(text);
    });
}

bool XMLLoadSave::ReadAttribute(long& target, const TiXmlElement* element, const std::string& name,
                                bool required) {
    return ReadConverted(target, element, name, required, [](const std::string& text, long& out) {
        out = AttributeText::ParseLong(text);
    });
}

bool XMLLoadSave::ReadAttribute(bool& target, const TiXmlElement* element, const std::string& name,
                                bool required) {
    return ReadConverted(target, element, name, required, [](const std::string& text, bool& out) {
        out = AttributeText::ParseBool(text);
    });
}

bool XMLLoadSave::ReadAttribute(ColourPtr& target, const TiXmlElement* element,
                                const std::string& name, bool required) {
    return ReadConverted(target, element, name, required,
                         [](const std::string& text, ColourPtr& out) {
                             out = std::make_shared<ColourValue>(AttributeText::ParseColour(text));
                         });
}

bool XMLLoadSave::ReadAttribute(FontStyle& target, const TiXmlElement* element,
                                const std::string& name, bool required) {
    return ReadConverted(
        target, element, name, required,
        [](const std::string& text, FontStyle& out) { out = AttributeText::ParseFontStyle(text); });
}

bool XMLLoadSave::ReadAttributeStrict(int& target, const TiXmlElement* element,
                                      const std::string& name, bool required) {
    return ReadConverted(target, element, name, required, [](const std::string& text, int& out) {
        AttributeText::ParseStrictInt(text, out);
    });
}

bool XMLLoadSave::WriteAttribute(const std::string& value, TiXmlElement* element,
                                 const std::string& name, bool inheritMode) {
    if (!element) return false;
    Document* document = Document::Of(element);
    if (inheritMode) {
        TiXmlAttribute* existing = FindAttribute(element, name);
        if (existing && document) {
            AttributeMark& mark = document->MarkOf(existing);
            if (!mark.inheritedValue) mark.inheritedValue = existing->ValueStr();
        }
        element->SetAttribute(name, value);
        return true;
    }
    element->SetAttribute(name, value);
    if (document) document->modified = true;
    // Copies are never saved: the value must reach the element the copy was made from.
    if (const NodeMark* mark = Document::FindMark(element); mark && mark->copiedFrom) {
        if (std::shared_ptr<Document> source = mark->copiedFromDocument.lock())
            WriteAttribute(value, mark->copiedFrom->ToElement(), name, false);
    }
    return true;
}

bool XMLLoadSave::WriteAttribute(const char* value, TiXmlElement* element, const std::string& name,
                                 bool inheritMode) {
    return WriteAttribute(std::string(value ? value : ""), element, name, inheritMode);
}

bool XMLLoadSave::WriteAttribute(float value, TiXmlElement* element, const std::string& name,
                                 bool inheritMode) {
    return WriteAttribute(AttributeText::FormatFloat(value), element, name, inheritMode);
}

bool XMLLoadSave::WriteAttribute(int value, TiXmlElement* element, const std::string& name,
                                 bool inheritMode) {
    return WriteAttribute(AttributeText::FormatInt(value), element, name, inheritMode);
}

bool XMLLoadSave::WriteAttribute(bool value, TiXmlElement* element, const std::string& name,
                                 bool inheritMode) {
    return WriteAttribute(AttributeText::FormatBool(value), element, name, inheritMode);
}

bool XMLLoadSave::WriteAttribute(const ColourValue& value, TiXmlElement* element,
                                 const std::string& name, bool inheritMode) {
    return WriteAttribute(AttributeText::FormatColour(value), element, name, inheritMode);
}

bool XMLLoadSave::WriteAttribute(FontStyle value, TiXmlElement* element, const std::string& name,
                                 bool inheritMode) {
    return WriteAttribute(AttributeText::FormatFontStyle(value), element, name, inheritMode);
}

std::string XMLLoadSave::InheritedValue(const TiXmlElement* element, const std::string& name) {
    if (!element) return std::string();
    for (const TiXmlAttribute* attribute = element->FirstAttribute(); attribute;
         attribute = attribute->Next())
        if (attribute->NameTStr() == name)
            if (const AttributeMark* mark = Document::FindMark(attribute))
                return mark->inheritedValue.value_or(std::string());
    return std::string();
}

void XMLLoadSave::ReadFont(FontPtr& holder, const TiXmlElement* fontElement) {
    auto font = std::make_shared<FontDescription>();
    ReadAttribute(font->family, fontElement, "Family", true);
    ReadAttribute(font->size, fontElement, "Size", true);
    ReadAttribute(font->style, fontElement, "Style", true);
    std::string conversion;
    ReadAttribute(conversion, fontElement, "Conversion");
    if (conversion == "Point")
        font->conversion = FontSizePoint;
    else if (conversion == "Width")
        font->conversion = FontSizeWidth;
    else
        font->conversion = FontSizeHeight;
    holder = std::move(font);
}

bool XMLLoadSave::WriteFont(const FontDescription& font, TiXmlElement* fontElement) {
    return WriteAttribute(font.family, fontElement, "Family") &&
           WriteAttribute(font.size, fontElement, "Size") &&
           WriteAttribute(font.style, fontElement, "Style");
}

std::string XMLLoadSave::XmlErrorText(const TiXmlElement* element, const std::string& name) {
    std::string path;
    const TiXmlNode* top = element;
    for (const TiXmlNode* node = element; node; node = node->Parent()) {
        if (node->ToElement()) path = node->ValueStr() + " -> " + path;
        top = node;
    }
    std::string filename = top ? top->ValueStr() : std::string();
    std::string tag = element ? element->ValueStr() : std::string();
    return "XML Error: Filename = " + filename + " " + path + " " + "Element = " + tag + " " +
           "Attribute = " + name;
}

void XMLLoadSave::ReportXmlError(const TiXmlElement* element, const std::string& name) {
    const std::string text = XmlErrorText(element, name);
    Trace(text);
    throw XMLLoadSaveException(text);
}

}  // namespace Pym
