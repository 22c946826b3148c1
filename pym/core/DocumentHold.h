#pragma once

#include <vector>

#include <tinyxml.h>

namespace Pym {

// Documents of the document map that somebody still builds from or reads, given back to the
// map when the hold is cleared or destroyed. Whoever holds must outlive the objects built from
// the held documents' elements: declare the hold before them.
class DocumentHold {
public:
    DocumentHold() = default;
    ~DocumentHold() { Clear(); }
    DocumentHold(const DocumentHold&) = delete;
    DocumentHold& operator=(const DocumentHold&) = delete;

    // Holds the document the element belongs to; an element of no document is ignored.
    void Keep(const TiXmlNode* node);
    // Gives every held document back to the map.
    void Clear();

    const std::vector<TiXmlDocument*>& Documents() const { return documents_; }

private:
    std::vector<TiXmlDocument*> documents_;
};

}  // namespace Pym
