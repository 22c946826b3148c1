#pragma once

#include <cstdint>
#include <memory_resource>
#include <vector>

#include <tinyxml.h>

namespace Pym {

// A parsed document kept as a flat list of its nodes in memory of the caller's choice, and
// made into a TinyXML tree again without parsing: the same nodes, values, attributes and places
// in the file as TinyXML's own copy gives.
class FlatDocument {
public:
    FlatDocument(const TiXmlDocument& parsed, std::pmr::memory_resource* memory);

    // Adds the kept nodes to `target`, a document with no children yet.
    void CopyInto(TiXmlDocument& target) const;

private:
    using Offset = std::uint32_t;
    struct Node {
        int type;
        int depth;  // 1 for the document's own children
        TiXmlCursor location;
        Offset value;
        // An element's attributes as name and value pairs; a declaration's version, encoding
        // and standalone.
        Offset firstExtra;
        Offset extraCount;
        bool cdata;
    };

    void Add(const TiXmlNode& node, int depth);
    Offset Store(const char* text);
    const char* At(Offset offset) const { return text_.data() + offset; }
    TiXmlNode* Make(const Node& node) const;

    TiXmlCursor location_;
    std::pmr::vector<Node> nodes_;
    std::pmr::vector<Offset> extras_;
    std::pmr::vector<char> text_;
};

}  // namespace Pym
