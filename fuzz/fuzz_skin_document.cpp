// A skin document as the program loads it: read from a file, parsed, BaseXML resolved against
// the default skin's documents and templates, every child resolved in turn.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "pym/base/Trace.h"
#include "pym/core/DocMap.h"
#include "pym/core/Document.h"
#include "pym/core/XMLLoadSave.h"

namespace {

class Loader : public Pym::XMLLoadSave {
public:
    void Walk(TiXmlElement* element, int depth) {
        if (!element || depth > 32) return;
        for (TiXmlElement* child : GetChildElements(element)) Walk(child, depth + 1);
    }
};

std::string DocumentPath() {
    static const std::string path = [] {
        // The skin's own documents and templates are what a BaseXML reference reaches.
        const std::filesystem::path skin = std::filesystem::path(ONDREL_SOURCE_DIR) / "skin";
        setenv("ONDREL_LIB", skin.c_str(), 1);
        std::filesystem::current_path(skin);
        Pym::DllDocMapInstance().ResetSearchPath();
        Pym::SetTraceHook([](const std::string&) {});
        return (std::filesystem::temp_directory_path() /
                ("ondrel-fuzz-skin-" + std::to_string(getpid()) + ".xml"))
            .string();
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = DocumentPath();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Pym::_DocMap& map = Pym::DllDocMapInstance();
    // As XMLLoadSave::GetRootElement, keeping hold of the document to release it afterwards.
    Pym::Document* document = map.GetDocument(path, true);
    if (!document) return 0;
    try {
        Loader loader;  // releases the base documents it borrowed
        if (TiXmlElement* root = document->RootElement())
            loader.Walk(loader.ResolveBaseXml(root), 0);
    } catch (const Pym::XMLLoadSaveException&) {
        // A broken skin is reported by exception: expected here.
    }
    map.Release(document);
    return 0;
}
