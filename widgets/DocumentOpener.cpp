#include "widgets/DocumentOpener.h"

#include "platform/Shell.h"
#include "pym/gui/GuiObject.h"
#include "widgets/MessageBoxA.h"

void OpenDocumentFile(Pym::GuiObject& object, const std::string& childName) {
    TiXmlElement* child = object.GetChildElement(object.GetElement(), childName);
    std::string path;
    Pym::XMLLoadSave::ReadAttribute(path, child, "Data", true);
    if (path.empty()) {
        Pym::ShowMessageBox(object, "No help file available", "");
        return;
    }
    if (!Platform::Shell().Open(path, "open"))
        Pym::ShowMessageBox(object, "error: " + path + " - Could not start - unknown error?!", "");
}
