#include "widgets/AboutWindow.h"

#include <utility>

#include "pym/gui/RegisterType.h"
#include "pym/gui/Text.h"
#include "settings/AppSettings.h"
#include "widgets/DocumentOpener.h"

namespace {

const bool registered = Pym::RegisterType<AboutWindow>("AboutWindow", "");
const bool registeredClose =
    Pym::RegisterSlot("AboutWindow::CloseClickedSlot", &AboutWindow::CloseClickedSlot);
const bool registeredHelp =
    Pym::RegisterSlot("AboutWindow::HelpActiveSlot", &AboutWindow::HelpActiveSlot);
const bool registeredLicense =
    Pym::RegisterSlot("AboutWindow::LicenseActiveSlot", &AboutWindow::LicenseActiveSlot);

AboutWindow* showing = nullptr;

}  // namespace

AboutWindow* AboutWindow::Showing() {
    return showing;
}

void AboutWindow::DoModal(Pym::Window* relativeTo) {
    AboutWindow* outer = std::exchange(showing, this);
    Pym::AppWindow::DoModal(relativeTo);
    showing = outer;
}

void AboutWindow::CreateFromXml(TiXmlElement* element) {
    Pym::AppWindow::CreateFromXml(element);
    if (auto* version = GetXMLObject<Pym::Text>("Version"))
        version->SetText(version->GetText() + " v" + DllAppSettingsInstance().version);
}

void AboutWindow::HelpActiveSlot(Pym::Signal::Activate&) {
    OpenDocumentFile(*this, "Help");
}

void AboutWindow::LicenseActiveSlot(Pym::Signal::Activate&) {
    OpenDocumentFile(*this, "License");
}
