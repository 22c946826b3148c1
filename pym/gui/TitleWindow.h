#pragma once

#include <memory>

#include "pym/gui/AppWindow.h"

namespace Pym {

// A window whose content comes from another document ("ObjectXML") and fills the area under
// its title bar (the move handle), or the whole window without one.
class TitleWindow : public AppWindow {
public:
    GuiObject* Content() const { return content_.get(); }

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    void CreateFromXml(TiXmlElement* element) override;

private:
    std::string objectXml_;
    std::unique_ptr<GuiObject> content_;
};

}  // namespace Pym
