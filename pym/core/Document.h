#pragma once

#include <forward_list>
#include <memory>
#include <optional>
#include <string>

#include <tinyxml.h>

namespace Pym {

class GuiObject;
class ScreenManager;
class Document;

// What the framework remembers about a node beyond TinyXML's own data. Hung on the node's
// user-data pointer and owned by the node's document.
struct NodeMark {
    // Set on the root element of a base document: the document whose element inherited it.
    std::weak_ptr<Document> includingDocument;
    // Set on every node copied into a base element from the inheriting element.
    TiXmlNode* copiedFrom = nullptr;
    std::weak_ptr<Document> copiedFromDocument;
};

// Set on an attribute of a base element that an inheriting element overrode.
struct AttributeMark {
    std::optional<std::string> inheritedValue;
};

// A loaded skin document: TinyXML's document plus the two context links and the node marks.
// Always held by a shared pointer (the document map owns them), so marks can refer to other
// documents weakly and never dangle.
class Document : public TiXmlDocument, public std::enable_shared_from_this<Document> {
public:
    explicit Document(const std::string& path = std::string()) : TiXmlDocument(path) {}

    // Own links; most code wants the looked-up values below.
    GuiObject* ownerWindow = nullptr;
    ScreenManager* ownerScreenManager = nullptr;
    bool modified = false;

    // The links as the framework reads them: the document's own when set, else those of the
    // document that included it through BaseXML, recursively.
    GuiObject* LookupOwnerWindow() const;
    ScreenManager* LookupOwnerScreenManager() const;

    // The root element's including document, when this document was pulled in as a base.
    std::shared_ptr<Document> IncludingDocument() const;

    NodeMark& MarkOf(TiXmlNode* node);
    AttributeMark& MarkOf(TiXmlAttribute* attribute);
    static const NodeMark* FindMark(const TiXmlNode* node);
    static const AttributeMark* FindMark(const TiXmlAttribute* attribute);

    // The framework document a node belongs to; null for nodes of a plain TiXmlDocument or of
    // no document at all.
    static Document* Of(const TiXmlNode* node);

private:
    template <class Link>
    Link* LookupLink(Link* Document::*link) const;

    // Lists, not deques: most documents mark nothing, and an empty deque already allocates.
    std::forward_list<NodeMark> nodeMarks_;
    std::forward_list<AttributeMark> attributeMarks_;
};

}  // namespace Pym
