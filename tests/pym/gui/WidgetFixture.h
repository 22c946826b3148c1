#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pym/core/ObjectFactory.h"
#include "pym/gfx/CairoDrawContext.h"
#include "pym/gfx/Font.h"
#include "pym/gfx/Image.h"
#include "pym/gui/ObjectCreation.h"
#include "tests/pym/gui/FrameworkDoubles.h"
#include "tests/support/SkinFixture.h"

namespace Testing {

// A back buffer with a context drawing into it, and its pixels as 0xAARRGGBB.
struct Canvas {
    Canvas(int width, int height)
        : buffer(Pym::Gfx::Image::Blank(width, height)), context(*buffer) {}
    std::uint32_t At(int x, int y) const {
        cairo_surface_flush(buffer->Surface());
        const unsigned char* data = cairo_image_surface_get_data(buffer->Surface());
        const int stride = cairo_image_surface_get_stride(buffer->Surface());
        return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
    }
    Pym::Gfx::ImagePtr buffer;
    Pym::Gfx::CairoDrawContext context;
};

// Records where and in which colour text is drawn.
class TextRecordingContext : public RecordingDrawContext {
public:
    struct Line {
        std::string text;
        Pym::Gfx::Rect rect;
        Pym::ColourValue colour;
        Pym::Gfx::TextAlignment alignment;
        double pixelSize;
    };
    bool DrawString(const Pym::Gfx::Font& font, const std::string& text, const Pym::Gfx::Rect& rect,
                    const Pym::ColourValue& colour, Pym::Gfx::TextAlignment alignment,
                    Pym::Gfx::TextTrimming) override {
        lines.push_back({text, rect, colour, alignment, font.PixelSize()});
        return true;
    }
    std::vector<Line> lines;
};

// Widgets built by the factory from skin text in a skin folder of the test's own.
class WidgetFixture : public SkinFixture {
protected:
    // Builds the document's root element as an object of its type, owned by the test.
    template <class T = Pym::GuiObject>
    T* Build(const std::string& xml) {
        const std::string file = "XML/Widget" + std::to_string(built.size()) + ".xml";
        Write(file, xml);
        TiXmlElement* root = loader.GetRootElement(file);
        EXPECT_NE(root, nullptr);
        if (!root) return nullptr;
        std::unique_ptr<Pym::GuiObject> made = Pym::CreateNamedObject(
            root->ValueStr(), "Widget" + std::to_string(built.size()), nullptr, root);
        Pym::GuiObject* object = made.get();
        built.push_back(std::move(made));
        return dynamic_cast<T*>(object);
    }

    // A picture file: an SVG of the given size filled with one colour, or (half) only its
    // left half filled, the rest transparent.
    std::string Picture(const std::string& name, const std::string& fill, bool half = false) {
        const std::string width = half ? "4" : "8";
        Write("images/" + name + ".svg",
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"><rect width=\"" +
                  width + "\" height=\"8\" fill=\"" + fill + "\"/></svg>");
        return "images/" + name + ".svg";
    }

    // Copies the real skin's templates and pictures into the test's skin folder.
    void UseRealSkin() {
        namespace fs = std::filesystem;
        const fs::path source = fs::path(ONDREL_SOURCE_DIR) / "skin";
        fs::copy(source / "lib", dir.Path() / "lib",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy(source / "images", dir.Path() / "images",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    Pym::XMLLoadSave loader;
    std::vector<std::unique_ptr<Pym::GuiObject>> built;
};

}  // namespace Testing
