#include "pym/gui/TitleWindow.h"

#include "pym/core/ObjectFactory.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<TitleWindow>("Pym::TitleWindow", "$PYM/Objects/TitleWindow/TitleWindow.xml");

}  // namespace

bool TitleWindow::LoadFromXml(TiXmlElement* element) {
    if (!AppWindow::LoadFromXml(element)) return false;
    ReadAttribute(objectXml_, element, "ObjectXML", true);
    return true;
}

void TitleWindow::CreateFromXml(TiXmlElement* element) {
    AppWindow::CreateFromXml(element);
    TiXmlElement* root = GetRootElement(objectXml_, element);
    if (!root) {
        Trace("Pym::TitleWindow - no document " + objectXml_);
        return;
    }
    content_ = CreateNamedObject(root->ValueStr(), "TitleWindowContent", this, root);
    if (!content_) return;
    GuiObject* built = content_.get();
    GuiObject* handle = MoveHandle();
    const LayoutObject* handlePlace = handle ? PlaceOf(handle) : nullptr;
    if (!handlePlace) {
        AddChildAt(built, GridVal(), GridVal(), GridVal(0, 1), GridVal(0, 1));
    } else {
        const GridVal bar = handlePlace->height;
        AddChildAt(built, GridVal(), bar, GridVal(0, 1),
                   GridVal(-bar.units, 1.0f - bar.percentage));
    }
    Redraw();
}

}  // namespace Pym
