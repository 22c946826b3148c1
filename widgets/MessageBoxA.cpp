#include "widgets/MessageBoxA.h"

#include <algorithm>
#include <utility>

#include "pym/gui/ObjectCreation.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/Text.h"

namespace Pym {

namespace {

const bool registered = RegisterType<MessageBoxA>("MessageBoxA", "");
const bool registeredClicked =
    RegisterSlot("MessageBox::ButtonClickedSlot", &MessageBoxA::ButtonClickedSlot);

constexpr const char* kMessageBoxDocument = "XML/Main/MessageBox.xml";
constexpr const char* kDefaultCaption = "OK";

MessageBoxA* showing = nullptr;

std::string TrimSpaces(const std::string& part) {
    const std::size_t first = part.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return part.substr(first, part.find_last_not_of(' ') - first + 1);
}

}  // namespace

MessageBoxA::~MessageBoxA() {
    RemoveButtons();
}

bool MessageBoxA::LoadFromXml(TiXmlElement* element) {
    if (!AppWindow::LoadFromXml(element)) return false;
    maxButtons_ = kDefaultMaxButtons;
    ReadAttribute(buttonTemplate_, element, "ObjectXML", true);
    ReadAttribute(maxButtons_, element, "MaxButtons");
    return true;
}

std::vector<std::string> MessageBoxA::SplitCaptions(const std::string& list) {
    std::vector<std::string> captions;
    std::string part;
    auto keep = [&] {
        std::string trimmed = TrimSpaces(part);
        if (!trimmed.empty()) captions.push_back(std::move(trimmed));
        part.clear();
    };
    for (char c : list) {
        if (c == ',' || c == '"')
            keep();
        else
            part += c;
    }
    keep();
    return captions;
}

void MessageBoxA::SetMessage(const std::string& text, const std::string& buttons) {
    container_ = GetXMLObject<GridLayout>("ButtonContainer");
    if (!container_) ReportXmlError(GetElement(), "ButtonContainer");
    RemoveButtons();
    std::vector<std::string> captions = SplitCaptions(buttons);
    if (captions.empty()) captions.push_back(kDefaultCaption);

    const int count = static_cast<int>(captions.size());
    const float spacing = 1.0f / static_cast<float>(count + 1);
    const float width = 1.0f / static_cast<float>(std::max(maxButtons_, count));
    const float half = width * 0.5f;
    for (int v = 1; v <= count; ++v) {
        GuiObject* button = CreateButton(captions[v - 1]);
        container_->AddChildAtFractions(button, v * spacing - half, 0.0f, width, 1.0f);
        container_->AddChild(button, true);
    }

    Text* message = GetXMLObject<Text>("Message");
    if (!message) ReportXmlError(GetElement(), "Message");
    message->SetText(text);
    Relayout();
    Redraw();
}

GuiObject* MessageBoxA::CreateButton(const std::string& caption) {
    TiXmlElement* root = RequireRootElement(buttonTemplate_, GetElement());
    // Every button is made from the same template element: the name the last one was given
    // must not become an alias of the next.
    root->RemoveAttribute("Name");
    GlobalObjectFactory_& factory = DllGlobalObjectFactoryInstance();
    std::unique_ptr<GuiObject> button = CreateNamedObject(root->ValueStr(), caption, this, root);
    if (!button) throw XMLLoadSaveException("MessageBoxA: no button from " + buttonTemplate_);
    GuiObject* made = button.get();
    SlotCall clicked =
        factory.MakeSlot("MessageBox::ButtonClickedSlot", this, Signal::Activate::Id());
    button->ConnectSlot(Signal::Activate::Id(), nullptr, std::move(clicked));
    buttons_.push_back({std::move(button), caption});
    return made;
}

void MessageBoxA::ButtonClickedSlot(Signal::Activate& signal) {
    auto pressed = std::find_if(buttons_.begin(), buttons_.end(), [&](const Button& button) {
        return button.object.get() == signal.sender;
    });
    if (pressed == buttons_.end()) return;
    result_ = pressed->caption;
    Close();
}

std::vector<GuiObject*> MessageBoxA::Buttons() const {
    std::vector<GuiObject*> objects;
    for (const Button& button : buttons_) objects.push_back(button.object.get());
    return objects;
}

void MessageBoxA::RemoveButtons() {
    for (Button& button : buttons_) {
        if (container_) container_->RemoveChild(button.object.get(), false);
        button.object.reset();
    }
    buttons_.clear();
}

MessageBoxA* MessageBoxA::Showing() {
    return showing;
}

std::string RunMessageBox(const std::string& text, const std::string& buttons, Window* relativeTo) {
    XMLLoadSave loader;
    TiXmlElement* root = loader.RequireRootElement(kMessageBoxDocument);
    std::unique_ptr<GuiObject> made =
        CreateNamedObject(root->ValueStr(), "MessageBox", nullptr, root);
    auto* box = dynamic_cast<MessageBoxA*>(made.get());
    if (!box) {
        const std::string text = std::string(kMessageBoxDocument) + " is not a MessageBoxA";
        Trace(text);
        throw XMLLoadSaveException(text);
    }
    box->SetMessage(text, buttons);
    MessageBoxA* outer = std::exchange(showing, box);
    box->DoModal(relativeTo);
    showing = outer;
    std::string result = box->GetResult();
    box->SetVisible(false);
    return result;
}

std::string ShowMessageBox(GuiObject& caller, const std::string& text, const std::string& buttons) {
    return RunMessageBox(text, buttons, dynamic_cast<Window*>(caller.RouteRoot()));
}

}  // namespace Pym
