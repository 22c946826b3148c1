#pragma once

#include <string>

#include "pym/gui/GridLayout.h"

namespace Pym {

// Shows one content object at a fixed width-to-height ratio, as large as fits and centred:
// the container's area left over on one axis stays empty (letter-boxing).
class AspectPreservingContainer : public GridLayout {
public:
    AspectPreservingContainer() = default;

    // The object shown (not owned when given here); it replaces any earlier one.
    virtual void SetContent(GuiObject* content);
    GuiObject* GetContent() const { return content_; }
    float GetAspectRatio() const { return aspectRatio_; }
    void SetAspectRatio(float ratio);
    // Read from the skin and kept for the skin's animations; the placement does not use them.
    int GetAnimationPeriod() const { return animationPeriod_; }
    int GetAnimationSteps() const { return animationSteps_; }
    bool IsVertical() const { return vertical_; }

    bool Resize(int width, int height) override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    void CreateFromXml(TiXmlElement* element) override;
    void ForgetChild(GuiObject* child) override;

private:
    // Places the content letter-boxed in the current size.
    void PlaceContent();

    int animationPeriod_ = 0;
    int animationSteps_ = 0;
    float aspectRatio_ = 1.0f;
    bool vertical_ = false;
    std::string contentDocument_;
    GuiObject* content_ = nullptr;
};

}  // namespace Pym
