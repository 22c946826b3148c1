#pragma once

#include "pym/gui/Text.h"

namespace Pym {

// Text that wraps at "MaxWidth" and always sits in the middle of its height.
class Text2 : public Text {
public:
    Text2() = default;

    int GetMaxWidth() const { return maxWidth_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    double LayoutWidth() const override { return maxWidth_; }
    bool CentresVertically() const override { return true; }

private:
    int maxWidth_ = -1;
};

}  // namespace Pym
