#include "pym/core/XMLLoadSave.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Shell.h"
#include "pym/base/Trace.h"
#include "pym/core/DocMap.h"

namespace Pym {

namespace {

// Paths of the documents whose root elements are being resolved right now, innermost last.
// A base reference to one of them is a BaseXML cycle, which would otherwise recurse forever.
thread_local std::vector<std::string> resolvingRoots;

std::string ComparablePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    return error ? path : canonical.string();
}

class ResolvingRoot {
public:
    explicit ResolvingRoot(const TiXmlElement* element) {
        const TiXmlDocument* document = element->GetDocument();
        if (document && element->Parent() == document && !document->ValueStr().empty()) {
            resolvingRoots.push_back(ComparablePath(document->ValueStr()));
            pushed_ = true;
        }
    }
    ~ResolvingRoot() {
        if (pushed_) resolvingRoots.pop_back();
    }
    ResolvingRoot(const ResolvingRoot&) = delete;
    ResolvingRoot& operator=(const ResolvingRoot&) = delete;

    static bool IsResolving(const std::string& path) {
        // Most references are resolved outside any root's: no need to ask the file system.
        if (resolvingRoots.empty()) return false;
        std::string comparable = ComparablePath(path);
        return std::find(resolvingRoots.begin(), resolvingRoots.end(), comparable) !=
               resolvingRoots.end();
    }

private:
    bool pushed_ = false;
};

// Clone() copies the user-data pointer, which would point into the source document's marks;
// every copied node gets a fresh mark of its own that links it to its source.
void MarkCopies(Document& document, TiXmlNode* copy, TiXmlNode* source,
                const std::weak_ptr<Document>& sourceDocument) {
    copy->SetUserData(nullptr);
    NodeMark& mark = document.MarkOf(copy);
    mark.copiedFrom = source;
    mark.copiedFromDocument = sourceDocument;
    TiXmlNode* copyChild = copy->FirstChild();
    TiXmlNode* sourceChild = source->FirstChild();
    for (; copyChild && sourceChild;
         copyChild = copyChild->NextSibling(), sourceChild = sourceChild->NextSibling())
        MarkCopies(document, copyChild, sourceChild, sourceDocument);
}

std::weak_ptr<Document> WeakDocumentOf(const TiXmlNode* node) {
    Document* document = Document::Of(node);
    return document ? document->weak_from_this() : std::weak_ptr<Document>();
}

}  // namespace

XMLLoadSave& XMLLoadSave::operator=(const XMLLoadSave& other) {
    loading_ = other.loading_;
    name_ = other.name_;
    return *this;
}

TiXmlElement* XMLLoadSave::GetRootElement(const std::string& reference, const TiXmlElement* context,
                                          bool asIs, DocumentHold* hold) {
    Document* document = DllDocMapInstance().GetDocument(reference, asIs);
    if (!document) return nullptr;
    if (hold) hold->Keep(document);
    TiXmlElement* root = document->RootElement();
    if (!root) return nullptr;
    TiXmlElement* resolved = ResolveBaseXml(root);
    if (resolved && context) {
        Document* target = Document::Of(resolved);
        Document* source = Document::Of(context);
        if (target && source) {
            target->ownerScreenManager = source->LookupOwnerScreenManager();
            target->ownerWindow = source->LookupOwnerWindow();
        }
    }
    return resolved;
}

TiXmlElement* XMLLoadSave::RequireRootElement(const std::string& reference,
                                              const TiXmlElement* context, bool asIs,
                                              DocumentHold* hold) {
    TiXmlElement* root = GetRootElement(reference, context, asIs, hold);
    if (!root) {
        const std::string& why = DllDocMapInstance().LastError();
        FailDocument(reference, why.empty() ? "is malformed or missing" : why);
    }
    return root;
}

void XMLLoadSave::FailDocument(const std::string& reference, const std::string& why) {
    const std::string text = reference + " " + why;
    Trace(text);
    // The reference as written: a relative one opens the user's copy, "$PYM" opens nothing.
    Platform::Shell().Open(reference, "edit");
    throw XMLLoadSaveException(text);
}

TiXmlElement* XMLLoadSave::ResolveBaseXml(TiXmlElement* element) {
    if (!element) return nullptr;
    const char* baseXml = element->Attribute("BaseXML");
    if (!baseXml || !*baseXml) return element;

    _DocMap& map = DllDocMapInstance();
    std::string reference = baseXml;
    if (reference == "default") {
        reference = map.GetDefaultXml(element->ValueStr());
        if (reference.empty()) {
            const TiXmlDocument* document = element->GetDocument();
            FailDocument(document ? document->ValueStr() : std::string("a skin document"),
                         "asks for the default of " + element->ValueStr() +
                             ", a type with no default document");
        }
    }

    ResolvingRoot guard(element);
    if (ResolvingRoot::IsResolving(map.ResolvePath(reference))) {
        FailDocument(reference, "inherits from itself (a BaseXML cycle)");
    }

    TiXmlElement* base = RequireRootElement(reference);
    Document* baseDocument = Document::Of(base);
    borrowedDocuments_.Keep(base);
    baseDocument->MarkOf(base).includingDocument = WeakDocumentOf(element);

    for (const TiXmlAttribute* attribute = element->FirstAttribute(); attribute;
         attribute = attribute->Next()) {
        const std::string& name = attribute->NameTStr();
        if (name == "BaseXML") continue;
        if (name == "Name") {
            if (const char* oldName = base->Attribute("Name"))
                AddChildElement(base, "Alias")->SetAttribute("Name", oldName);
        }
        WriteAttribute(attribute->ValueStr(), base, name, true);
    }

    std::weak_ptr<Document> sourceDocument = WeakDocumentOf(element);
    for (TiXmlNode* child = element->FirstChild(); child; child = child->NextSibling()) {
        TiXmlNode* copy = child->Clone();
        if (!copy) continue;
        MarkCopies(*baseDocument, copy, child, sourceDocument);
        base->LinkEndChild(copy);
    }
    return base;
}

TiXmlElement* XMLLoadSave::GetChildElement(TiXmlElement* element, const std::string& tag) {
    if (element) {
        for (TiXmlElement* child = element->FirstChildElement(); child;
             child = child->NextSiblingElement()) {
            if (tag.empty() || child->ValueStr() == tag) return ResolveBaseXml(child);
        }
    }
    ReportXmlError(element, tag);
}

bool XMLLoadSave::HasChildElement(const TiXmlElement* element, const std::string& tag) {
    return element && element->FirstChildElement(tag) != nullptr;
}

TiXmlElement* XMLLoadSave::GetChildOrSelf(TiXmlElement* element, const std::string& tag) {
    return HasChildElement(element, tag) ? GetChildElement(element, tag) : element;
}

std::vector<TiXmlElement*> XMLLoadSave::GetChildElements(TiXmlElement* element,
                                                         const std::string& filter) {
    std::vector<TiXmlElement*> children;
    if (!element) return children;
    for (TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement()) {
        if (filter.empty() || child->ValueStr() == filter)
            children.push_back(ResolveBaseXml(child));
    }
    return children;
}

TiXmlElement* XMLLoadSave::AddChildElement(TiXmlElement* parent, const std::string& tag) {
    if (!parent) return nullptr;
    return parent->LinkEndChild(new TiXmlElement(tag))->ToElement();
}

bool XMLLoadSave::MatchesName(const TiXmlElement* element, const std::string& name) {
    if (!element) return false;
    if (const std::string* own = element->Attribute(std::string("Name")); own && *own == name)
        return true;
    for (const TiXmlElement* alias = element->FirstChildElement("Alias"); alias;
         alias = alias->NextSiblingElement("Alias")) {
        const char* aliasName = alias->Attribute("Name");
        if (aliasName && name == aliasName) return true;
    }
    return false;
}

}  // namespace Pym
