#include "pym/gui/ObjectLookup.h"

#include <vector>

#include "pym/core/ObjectFactory.h"
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

GuiObject* FindName(GuiObject* scope, const std::string& name) {
    const GlobalObjectFactory_& factory = DllGlobalObjectFactoryInstance();
    for (GuiObject* candidate = scope; candidate; candidate = candidate->GetParent()) {
        if (GuiObject* found = factory.FindScopedName(candidate, name)) return found;
        if (candidate->AnswersTo(name)) return candidate;
    }
    return nullptr;
}

}  // namespace

GuiObject* FindObject(GuiObject* scope, const std::string& path) {
    GuiObject* found = scope;
    for (const std::string& segment : SplitPath(path)) {
        if (segment.empty()) return nullptr;
        found = FindName(found, segment);
        if (!found) return nullptr;
    }
    return found;
}

}  // namespace Pym
