#include "pym/core/DocumentHold.h"

#include "pym/base/Singleton.h"
#include "pym/core/DocMap.h"

namespace Pym {

void DocumentHold::Keep(const TiXmlNode* node) {
    if (!node) return;
    if (TiXmlDocument* document = const_cast<TiXmlNode*>(node)->GetDocument())
        documents_.push_back(document);
}

void DocumentHold::Clear() {
    // The map may already be gone when a static object is destroyed at exit.
    if (_DocMap* map = Singleton<_DocMap>::IfAlive())
        for (TiXmlDocument* document : documents_) map->Release(document);
    documents_.clear();
}

}  // namespace Pym
