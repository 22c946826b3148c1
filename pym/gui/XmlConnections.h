#pragma once

#include <tinyxml.h>

namespace Pym {

class GuiObject;

// Wires the "Connect" children of an object's element: a signal of one named object to a
// named slot of another, or to the activation of a screen. Each element is connected once
// and then marked "__SlotConnected__".
namespace XmlConnections {

// Throws XMLLoadSaveException at the first element that cannot be connected.
void ConnectAll(GuiObject* holder);
void Connect(GuiObject* holder, TiXmlElement* connect);

}  // namespace XmlConnections
}  // namespace Pym
