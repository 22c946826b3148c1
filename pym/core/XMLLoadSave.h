#pragma once

#include <string>
#include <vector>

#include <tinyxml.h>

#include "pym/core/DocumentHold.h"
#include "pym/core/ValueTypes.h"
#include "pym/core/XMLLoadSaveException.h"

namespace Pym {

// Base of every object that is built from skin XML. Document level: root elements, BaseXML
// inheritance, and the base documents borrowed for this object (released with it). Element
// level: child lookups and typed attribute reading and writing.
class XMLLoadSave {
public:
    XMLLoadSave() = default;
    virtual ~XMLLoadSave() = default;

    // A copy borrows no documents of its own.
    XMLLoadSave(const XMLLoadSave& other) : loading_(other.loading_), name_(other.name_) {}
    XMLLoadSave& operator=(const XMLLoadSave& other);

    // --- documents ------------------------------------------------------------------------

    // The resolved root element of a document, or null. With a context element, the new
    // document takes the window and screen manager that the context's document looks up.
    // With a hold, the loaded document is given back to the map when the hold lets go of it;
    // without, it stays loaded for the rest of the run.
    TiXmlElement* GetRootElement(const std::string& reference,
                                 const TiXmlElement* context = nullptr, bool asIs = false,
                                 DocumentHold* hold = nullptr);
    // As GetRootElement, but a missing document is reported, opened for editing, and throws.
    TiXmlElement* RequireRootElement(const std::string& reference,
                                     const TiXmlElement* context = nullptr, bool asIs = false,
                                     DocumentHold* hold = nullptr);
    // The element to build from in place of `element`: its BaseXML document's root with the
    // element's attributes and children laid over it, or the element itself.
    TiXmlElement* ResolveBaseXml(TiXmlElement* element);

    // --- child elements ---------------------------------------------------------------------

    TiXmlElement* GetChildElement(TiXmlElement* element, const std::string& tag);
    static bool HasChildElement(const TiXmlElement* element, const std::string& tag);
    TiXmlElement* GetChildOrSelf(TiXmlElement* element, const std::string& tag);
    std::vector<TiXmlElement*> GetChildElements(TiXmlElement* element,
                                                const std::string& filter = std::string());
    static TiXmlElement* AddChildElement(TiXmlElement* parent, const std::string& tag);
    // The element's "Name" or an "Alias" child's.
    static bool MatchesName(const TiXmlElement* element, const std::string& name);

    // --- attributes -------------------------------------------------------------------------

    static bool ReadAttribute(std::string& target, const TiXmlElement* element,
                              const std::string& name, bool required = false);
    static bool ReadAttribute(float& target, const TiXmlElement* element, const std::string& name,
                              bool required = false);
    static bool ReadAttribute(int& target, const TiXmlElement* element, const std::string& name,
                              bool required = false);
    static bool ReadAttribute(long& target, const TiXmlElement* element, const std::string& name,
                              bool required = false);
    static bool ReadAttribute(bool& target, const TiXmlElement* element, const std::string& name,
                              bool required = false);
    static bool ReadAttribute(ColourPtr& target, const TiXmlElement* element,
                              const std::string& name, bool required = false);
    static bool ReadAttribute(FontStyle& target, const TiXmlElement* element,
                              const std::string& name, bool required = false);
    // Whole-text integer: text that is not a whole number leaves the target as it was, and the
    // read still counts as found.
    static bool ReadAttributeStrict(int& target, const TiXmlElement* element,
                                    const std::string& name, bool required = false);

    // The attribute's text after the library token and references are substituted; false
    // when the attribute is missing or its first reference cannot be resolved.
    static bool ReadAttributeText(std::string& text, const TiXmlElement* element,
                                  const std::string& name);

    // Writes the value's text form. A write to a node copied from an inheriting element is
    // carried to the node it came from. `inheritMode` is for BaseXML resolution only.
    static bool WriteAttribute(const std::string& value, TiXmlElement* element,
                               const std::string& name, bool inheritMode = false);
    static bool WriteAttribute(const char* value, TiXmlElement* element, const std::string& name,
                               bool inheritMode = false);
    static bool WriteAttribute(float value, TiXmlElement* element, const std::string& name,
                               bool inheritMode = false);
    static bool WriteAttribute(int value, TiXmlElement* element, const std::string& name,
                               bool inheritMode = false);
    static bool WriteAttribute(bool value, TiXmlElement* element, const std::string& name,
                               bool inheritMode = false);
    static bool WriteAttribute(const ColourValue& value, TiXmlElement* element,
                               const std::string& name, bool inheritMode = false);
    static bool WriteAttribute(FontStyle value, TiXmlElement* element, const std::string& name,
                               bool inheritMode = false);

    // The value an inheriting element replaced on this base element, or empty.
    static std::string InheritedValue(const TiXmlElement* element, const std::string& name);

    // --- fonts ------------------------------------------------------------------------------

    static void ReadFont(FontPtr& holder, const TiXmlElement* fontElement);
    static bool WriteFont(const FontDescription& font, TiXmlElement* fontElement);

    // Composes the report for a missing attribute or child, hands it to the trace hook and
    // throws XMLLoadSaveException.
    [[noreturn]] static void ReportXmlError(const TiXmlElement* element, const std::string& name);
    static std::string XmlErrorText(const TiXmlElement* element, const std::string& name);

    // --- object state -----------------------------------------------------------------------

    const std::string& GetName() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    bool IsLoading() const { return loading_; }
    const std::vector<TiXmlDocument*>& BorrowedDocuments() const {
        return borrowedDocuments_.Documents();
    }

protected:
    // Sets the loading flag for a scope and restores the previous value afterwards.
    class LoadingScope {
    public:
        explicit LoadingScope(XMLLoadSave& owner) : owner_(owner), previous_(owner.loading_) {
            owner_.loading_ = true;
        }
        ~LoadingScope() { owner_.loading_ = previous_; }
        LoadingScope(const LoadingScope&) = delete;
        LoadingScope& operator=(const LoadingScope&) = delete;

    private:
        XMLLoadSave& owner_;
        bool previous_;
    };

private:
    // Reports the document as broken for the reason given, opens it for editing and throws.
    [[noreturn]] static void FailDocument(const std::string& reference, const std::string& why);

    bool loading_ = false;
    std::string name_ = "NULL";
    DocumentHold borrowedDocuments_;
};

}  // namespace Pym
