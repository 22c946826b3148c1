#include "pym/core/Document.h"

namespace Pym {

namespace {
// Including links form a chain that ends at an application document; the bound only guards
// against a corrupted chain.
constexpr int kMaxIncludeDepth = 256;
}  // namespace

std::shared_ptr<Document> Document::IncludingDocument() const {
    const TiXmlElement* root = RootElement();
    const NodeMark* mark = root ? FindMark(root) : nullptr;
    return mark ? mark->includingDocument.lock() : nullptr;
}

template <class Link>
Link* Document::LookupLink(Link* Document::*link) const {
    const Document* doc = this;
    std::shared_ptr<Document> hold;
    for (int depth = 0; doc && depth < kMaxIncludeDepth; ++depth) {
        if (doc->*link) return doc->*link;
        hold = doc->IncludingDocument();
        doc = hold.get();
    }
    return nullptr;
}

GuiObject* Document::LookupOwnerWindow() const {
    return LookupLink(&Document::ownerWindow);
}

ScreenManager* Document::LookupOwnerScreenManager() const {
    return LookupLink(&Document::ownerScreenManager);
}

NodeMark& Document::MarkOf(TiXmlNode* node) {
    if (auto* mark = static_cast<NodeMark*>(node->GetUserData())) return *mark;
    NodeMark& mark = nodeMarks_.emplace_front();
    node->SetUserData(&mark);
    return mark;
}

AttributeMark& Document::MarkOf(TiXmlAttribute* attribute) {
    if (auto* mark = static_cast<AttributeMark*>(attribute->GetUserData())) return *mark;
    AttributeMark& mark = attributeMarks_.emplace_front();
    attribute->SetUserData(&mark);
    return mark;
}

const NodeMark* Document::FindMark(const TiXmlNode* node) {
    return node ? static_cast<const NodeMark*>(node->GetUserData()) : nullptr;
}

const AttributeMark* Document::FindMark(const TiXmlAttribute* attribute) {
    return attribute ? static_cast<const AttributeMark*>(attribute->GetUserData()) : nullptr;
}

Document* Document::Of(const TiXmlNode* node) {
    if (!node) return nullptr;
    return dynamic_cast<Document*>(const_cast<TiXmlNode*>(node)->GetDocument());
}

}  // namespace Pym
