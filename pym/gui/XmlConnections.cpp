#include "pym/gui/XmlConnections.h"

#include "platform/Shell.h"
#include "pym/base/Trace.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/GuiObject.h"
#include "pym/gui/ScreenManager.h"

namespace Pym::XmlConnections {

namespace {

[[noreturn]] void Fail(const TiXmlElement* connect, const std::string& text) {
    const TiXmlDocument* document = connect->GetDocument();
    Platform::Shell().Open(document ? document->ValueStr() : std::string(), "edit");
    Trace(text);
    throw XMLLoadSaveException(text);
}

std::string Text(const TiXmlElement* element, const char* name, bool& found) {
    std::string text;
    found = XMLLoadSave::ReadAttribute(text, element, name);
    return text;
}

GuiObject* FindSignalObject(GuiObject* holder, const TiXmlElement* connect) {
    bool found = false;
    std::string name = Text(connect, "SignalObject", found);
    if (found) return FindObject(holder, name);
    name = Text(connect, "GlobalSignalObject", found);
    if (found) return DllGlobalObjectFactoryInstance().FindGlobalObject(name);
    return nullptr;
}

GuiObject* FindSlotObject(GuiObject* holder, const TiXmlElement* connect) {
    bool found = false;
    std::string name = Text(connect, "SlotObject", found);
    if (found) return name == "this" ? holder : FindObject(holder, name);
    name = Text(connect, "GlobalSlotObject", found);
    if (found) return DllGlobalObjectFactoryInstance().FindGlobalObject(name);
    return nullptr;
}

int SignalIdOrFail(const TiXmlElement* connect, const std::string& signalName) {
    int id = DllGlobalObjectFactoryInstance().SignalIdByName(signalName);
    if (id == 0) Fail(connect, "Failed to find signal " + signalName);
    return id;
}

// A call that shows the screen through the screen manager of the signal object's window, as
// it is when the signal fires.
SlotCall ScreenSlot(GuiObject* signalObject, const std::string& screen, bool addToBackStack) {
    return [signalObject, screen, addToBackStack](Signal::Base&, GuiObject*) {
        if (ScreenManager* manager = signalObject->FindScreenManager())
            manager->ActivateScreen(screen, addToBackStack);
        else
            Trace("ScreenSlot: no screen manager to show screen " + screen);
    };
}

}  // namespace

void ConnectAll(GuiObject* holder) {
    if (!holder || !holder->GetElement()) return;
    for (TiXmlElement* connect : holder->GetChildElements(holder->GetElement(), "Connect")) {
        bool connected = false;
        XMLLoadSave::ReadAttribute(connected, connect, "__SlotConnected__");
        if (connected) continue;
        Connect(holder, connect);
        XMLLoadSave::WriteAttribute(true, connect, "__SlotConnected__");
    }
}

void Connect(GuiObject* holder, TiXmlElement* connect) {
    std::string signalName;
    XMLLoadSave::ReadAttribute(signalName, connect, "Signal", true);
    bool hasSlot = false, hasScreen = false;
    const std::string slotName = Text(connect, "Slot", hasSlot);
    const std::string screenName = hasSlot ? std::string() : Text(connect, "ScreenSlot", hasScreen);
    if (!hasSlot && !hasScreen) Fail(connect, "No Slot attribute specified");
    const char* backStack = connect->Attribute("AddToBackStack");
    const bool addToBackStack = !(backStack && std::string(backStack) == "false");

    GuiObject* signalObject = FindSignalObject(holder, connect);
    if (hasScreen) {
        if (!signalObject) Fail(connect, "No Signal attribute specified");
        int id = SignalIdOrFail(connect, signalName);
        // A screen nobody declared would show an empty window with no way back.
        ScreenManager* manager = signalObject->FindScreenManager();
        if (!screenName.empty() && manager && !manager->Declares(screenName))
            Fail(connect, "ScreenSlot " + screenName + " names no declared screen");
        signalObject->ConnectSlot(id, nullptr,
                                  ScreenSlot(signalObject, screenName, addToBackStack));
        return;
    }

    GuiObject* slotObject = FindSlotObject(holder, connect);
    if (!signalObject) XMLLoadSave::ReportXmlError(connect, "Could not find signal object");
    if (!slotObject) XMLLoadSave::ReportXmlError(connect, "Could not find slot object");
    int id = SignalIdOrFail(connect, signalName);
    SlotCall call = DllGlobalObjectFactoryInstance().MakeSlot(slotName, slotObject, id);
    if (!call) Fail(connect, "Failed to find or connect slot " + slotName);
    signalObject->ConnectSlot(id, nullptr, std::move(call));
}

}  // namespace Pym::XmlConnections
