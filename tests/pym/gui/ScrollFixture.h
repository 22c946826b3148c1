#pragma once

#include <string>
#include <vector>

#include "pym/core/Signals.h"
#include "pym/gui/GridLayout.h"
#include "tests/pym/gui/WidgetFixture.h"

namespace Testing {

// Scroll-family widgets built from skin text with plain coloured pictures, placed in a root
// container that input is routed through as a window would route it.
class ScrollFixture : public WidgetFixture {
protected:
    void SetUp() override {
        WidgetFixture::SetUp();
        root = MakeGrid("root", 400, 400);
    }

    // An image button showing one picture in every state.
    std::string Button(const std::string& picture) {
        const std::string image = "<Pym::Image ImageFile=\"" + picture + "\"/>";
        return "<Pym::ImageButton><UnSelected>" + image + "</UnSelected><Selected>" + image +
               "</Selected><MouseOver>" + image + "</MouseOver></Pym::ImageButton>";
    }
    // The inside of a scroll object: grey track, blue bar.
    std::string ScrollParts() {
        const std::string track = Button(Picture("track", "#808080"));
        const std::string bar = Button(Picture("bar", "#0000ff"));
        return "<Buffer>" + track + "</Buffer><Bar><Start>" + bar + "</Start><Middle>" + bar +
               "</Middle><End>" + bar + "</End></Bar>";
    }
    std::string ScrollObjectXml(const std::string& type, const std::string& attributes) {
        return "<" + type + " " + attributes + ">" + ScrollParts() + "</" + type + ">";
    }
    // A vertical scroll bar: 14-pixel red arrow buttons around a scroll object.
    std::string ScrollBarXml(const std::string& scrollAttributes =
                                 "Orientation=\"Vertical\" CallbackMode=\"On\" "
                                 "MinimumBarSize=\"10\"") {
        const std::string arrow = Button(Picture("arrow", "#ff0000"));
        return "<Pym::ScrollBar BigAxisSize=\"160\" SmallAxisSize=\"12\" ButtonSize=\"14\" "
               "EndThicknessInPixels=\"14\"><Start>" +
               arrow + "</Start><ScrollObject>" +
               ScrollObjectXml("Pym::ScrollObject", scrollAttributes) + "</ScrollObject><End>" +
               arrow + "</End></Pym::ScrollBar>";
    }

    // Puts an object into the root at a place.
    template <class T>
    T* Place(T* object, int x, int y, int width, int height) {
        if (!object) return nullptr;
        root->AddChild(object, false);
        object->Move(x, y);
        object->Resize(width, height);
        object->Relayout();
        return object;
    }

    // Routes input from the root, points in root coordinates.
    template <class S, class... Args>
    void Send(Args... args) {
        S signal(args...);
        root->DeliverSignal(signal, true);
    }
    void Press(int x, int y) { Send<Pym::Signal::LeftButtonDown>(x, y); }
    void Move(int x, int y) { Send<Pym::Signal::MouseMove>(x, y); }
    void Release(int x, int y) { Send<Pym::Signal::LeftButtonUp>(x, y); }
    void Wheel(int x, int y, int delta) { Send<Pym::Signal::MouseWheel>(x, y, delta); }
    void Key(int key) { Send<Pym::Signal::KeyPress>(key); }

    // Collects the ScrollObjectSignals raised on an object.
    void Listen(Pym::GuiObject& object) {
        object.ConnectSlot(
            Pym::Signal::ScrollObjectSignal::Id(), nullptr,
            [this](Pym::Signal::Base& s, Pym::GuiObject*) {
                const auto& v = static_cast<Pym::Signal::ScrollObjectSignal&>(s);
                heard.push_back({v.values[0], v.values[1], v.values[2], v.values[3]});
            });
    }

    std::unique_ptr<Pym::GridLayout> root;
    std::vector<std::vector<int>> heard;
};

}  // namespace Testing
