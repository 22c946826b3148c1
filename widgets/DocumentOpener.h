#pragma once

#include <string>

namespace Pym {
class GuiObject;
}

// Opens the document named by the "Data" attribute of the object's child element `childName`
// in the desktop's application for it. An empty "Data" and a failure to start anything are
// told to the user in the message box, relative to the object's window. A missing child or
// attribute is a skin error (XMLLoadSaveException).
void OpenDocumentFile(Pym::GuiObject& object, const std::string& childName);
