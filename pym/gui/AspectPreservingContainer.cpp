#include "pym/gui/AspectPreservingContainer.h"

#include "pym/gui/ObjectCreation.h"

namespace Pym {

bool AspectPreservingContainer::LoadFromXml(TiXmlElement* element) {
    if (!GridLayout::LoadFromXml(element)) return false;
    std::string orientation;
    float ratio = 1.0f;
    ReadAttribute(animationPeriod_, element, "AnimationPeriod", true);
    ReadAttribute(animationSteps_, element, "AnimationSteps", true);
    ReadAttribute(ratio, element, "AspectRatio", true);
    ReadAttribute(orientation, element, "Orientation", true);
    ReadAttribute(contentDocument_, element, "ObjectXML", true);
    vertical_ = orientation == "Vertical";
    SetAspectRatio(ratio);
    return true;
}

void AspectPreservingContainer::CreateFromXml(TiXmlElement* element) {
    GridLayout::CreateFromXml(element);
    TiXmlElement* root = GetRootElement(contentDocument_, element);
    if (!root) {
        Trace("Pym::AspectPreservingContainer - no document " + contentDocument_);
        return;
    }
    const char* name = root->Attribute("Name");
    std::unique_ptr<GuiObject> made =
        CreateNamedObject(root->ValueStr(), name ? name : "Content", this, root);
    if (!made) return;
    GuiObject* built = made.get();
    Adopt(std::move(made));
    SetContent(built);
}

void AspectPreservingContainer::SetAspectRatio(float ratio) {
    // A ratio of zero or less has no shape to keep: the content then fills the container.
    if (!(ratio > 0.0f)) {
        Trace("Pym::AspectPreservingContainer - aspect ratio must be above 0");
        ratio = 0.0f;
    }
    aspectRatio_ = ratio;
    PlaceContent();
}

void AspectPreservingContainer::SetContent(GuiObject* content) {
    if (content_ && content_ != content) ForgetChild(content_);
    content_ = content;
    if (!content_) return;
    AddChildAtFractions(content_, 0.0f, 0.0f, 1.0f, 1.0f);
    PlaceContent();
}

bool AspectPreservingContainer::Resize(int width, int height) {
    if (!GridLayout::Resize(width, height)) return false;
    PlaceContent();
    Relayout();
    return true;
}

void AspectPreservingContainer::PlaceContent() {
    const int width = GetWidth(), height = GetHeight();
    if (!content_ || width <= 0 || height <= 0) return;
    const float extent = static_cast<float>(width) / static_cast<float>(height);
    if (aspectRatio_ <= 0.0f) {
        PlaceChild(content_, GridVal(), GridVal(), GridVal(0.0f, 1.0f), GridVal(0.0f, 1.0f));
    } else if (extent > aspectRatio_) {
        const float share = (static_cast<float>(height) * aspectRatio_) / static_cast<float>(width);
        PlaceChild(content_, GridVal(0.0f, 0.5f - share / 2.0f), GridVal(), GridVal(0.0f, share),
                   GridVal(0.0f, 1.0f));
    } else {
        const float share = (static_cast<float>(width) / aspectRatio_) / static_cast<float>(height);
        PlaceChild(content_, GridVal(), GridVal(0.0f, 0.5f - share / 2.0f), GridVal(0.0f, 1.0f),
                   GridVal(0.0f, share));
    }
}

void AspectPreservingContainer::ForgetChild(GuiObject* child) {
    GridLayout::ForgetChild(child);
    if (child == content_) content_ = nullptr;
}

}  // namespace Pym
