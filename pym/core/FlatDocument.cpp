#include "pym/core/FlatDocument.h"

#include <cstring>

namespace Pym {

namespace {

// TinyXML keeps a node's place in its file to itself; its own copies take it along, and so do
// these.
struct Place : TiXmlBase {
    static constexpr TiXmlCursor TiXmlBase::*kLocation = &Place::location;
};

TiXmlCursor LocationOf(const TiXmlBase& node) {
    return node.*Place::kLocation;
}

void SetLocation(TiXmlBase& node, const TiXmlCursor& location) {
    node.*Place::kLocation = location;
}

}  // namespace

FlatDocument::FlatDocument(const TiXmlDocument& parsed, std::pmr::memory_resource* memory)
    : location_(LocationOf(parsed)), nodes_(memory), extras_(memory), text_(memory) {
    for (const TiXmlNode* child = parsed.FirstChild(); child; child = child->NextSibling())
        Add(*child, 1);
}

FlatDocument::Offset FlatDocument::Store(const char* text) {
    const Offset offset = static_cast<Offset>(text_.size());
    text_.insert(text_.end(), text, text + std::strlen(text) + 1);
    return offset;
}

void FlatDocument::Add(const TiXmlNode& node, int depth) {
    Node flat{node.Type(),
              depth,
              LocationOf(node),
              Store(node.Value()),
              static_cast<Offset>(extras_.size()),
              0,
              false};
    if (const TiXmlElement* element = node.ToElement()) {
        for (const TiXmlAttribute* attribute = element->FirstAttribute(); attribute;
             attribute = attribute->Next()) {
            extras_.push_back(Store(attribute->Name()));
            extras_.push_back(Store(attribute->Value()));
        }
    } else if (const TiXmlDeclaration* declaration = node.ToDeclaration()) {
        for (const char* part :
             {declaration->Version(), declaration->Encoding(), declaration->Standalone()})
            extras_.push_back(Store(part));
    } else if (const TiXmlText* text = node.ToText()) {
        flat.cdata = text->CDATA();
    }
    flat.extraCount = static_cast<Offset>(extras_.size()) - flat.firstExtra;
    nodes_.push_back(flat);
    for (const TiXmlNode* child = node.FirstChild(); child; child = child->NextSibling())
        Add(*child, depth + 1);
}

TiXmlNode* FlatDocument::Make(const Node& node) const {
    const char* value = At(node.value);
    const Offset* extra = extras_.data() + node.firstExtra;
    switch (node.type) {
        case TiXmlNode::TINYXML_ELEMENT: {
            auto* element = new TiXmlElement(value);
            for (Offset i = 0; i + 1 < node.extraCount; i += 2)
                element->SetAttribute(At(extra[i]), At(extra[i + 1]));
            return element;
        }
        case TiXmlNode::TINYXML_TEXT: {
            auto* text = new TiXmlText(value);
            text->SetCDATA(node.cdata);
            return text;
        }
        case TiXmlNode::TINYXML_DECLARATION:
            return new TiXmlDeclaration(At(extra[0]), At(extra[1]), At(extra[2]));
        case TiXmlNode::TINYXML_COMMENT:
            return new TiXmlComment(value);
        default: {
            auto* unknown = new TiXmlUnknown();
            unknown->SetValue(value);
            return unknown;
        }
    }
}

void FlatDocument::CopyInto(TiXmlDocument& target) const {
    SetLocation(target, location_);
    std::vector<TiXmlNode*> parents{&target};
    for (const Node& node : nodes_) {
        TiXmlNode* made = Make(node);
        SetLocation(*made, node.location);
        parents.resize(static_cast<std::size_t>(node.depth));
        parents.back()->LinkEndChild(made);
        parents.push_back(made);
    }
}

}  // namespace Pym
