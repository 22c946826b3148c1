// Name lookups walk the object tree, so they are built with the GUI objects (pym_gui).
#include "pym/core/ObjectFactory.h"
#include "pym/core/XMLLoadSave.h"
#include "pym/gui/GuiObject.h"

namespace Pym {

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    static const std::string kSeparator = "->";
    std::vector<std::string> segments;
    std::size_t start = 0;
    for (std::size_t at; (at = path.find(kSeparator, start)) != std::string::npos;
         start = at + kSeparator.size())
        segments.push_back(path.substr(start, at - start));
    segments.push_back(path.substr(start));
    return segments;
}

}  // namespace

GuiObject* GlobalObjectFactory_::FindName(GuiObject* scope, const std::string& name) const {
    for (GuiObject* candidate = scope; candidate; candidate = candidate->GetParent()) {
        if (scoped_)
            if (GuiObject* found = scoped_->Find(candidate, name)) return found;
        if (GuiObject* found = secondScoped_.Find(candidate, name)) return found;
        if (candidate->GetName() == name || XMLLoadSave::MatchesName(candidate->GetElement(), name))
            return candidate;
    }
    return nullptr;
}

GuiObject* GlobalObjectFactory_::FindObject(GuiObject* scope, const std::string& path) const {
    GuiObject* found = scope;
    for (const std::string& segment : SplitPath(path)) {
        if (segment.empty()) return nullptr;
        found = FindName(found, segment);
        if (!found) return nullptr;
    }
    return found;
}

}  // namespace Pym
