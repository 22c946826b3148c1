#pragma once

#include <string>

#include "pym/gui/AppWindow.h"

// The About window: the skin's "Version" text followed by the program's version, and buttons
// that open the help and licence documents named by its "Help" and "License" children.
class AboutWindow : public Pym::AppWindow {
public:
    void CloseClickedSlot(Pym::Signal::Activate&) { Close(); }
    void HelpActiveSlot(Pym::Signal::Activate&);
    void LicenseActiveSlot(Pym::Signal::Activate&);

    void DoModal(Pym::Window* relativeTo = nullptr) override;
    // The About window running modally now, or null. For the GUI thread only.
    static AboutWindow* Showing();

protected:
    void CreateFromXml(TiXmlElement* element) override;
};
