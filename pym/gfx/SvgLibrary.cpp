#include "pym/gfx/SvgLibrary.h"

#include "platform/LazyLibrary.h"

namespace Pym::Gfx {

const SvgLibrary* SvgLibrary::Get() {
    static const SvgLibrary* const loaded = []() -> const SvgLibrary* {
        static const Platform::LazyLibrary library("librsvg-2.so.2",
                                                   Platform::LazyLibrary::Binding::OnFirstCall);
        static SvgLibrary svg;
        // GIO's two entry points come through librsvg, which depends on it.
        bool found =
            library.Resolve("rsvg_handle_new_with_flags", svg.newWithFlags) &&
            library.Resolve("rsvg_handle_set_base_gfile", svg.setBaseGfile) &&
            library.Resolve("rsvg_handle_read_stream_sync", svg.readStreamSync) &&
            library.Resolve("rsvg_handle_get_intrinsic_size_in_pixels",
                            svg.intrinsicSizeInPixels) &&
            library.Resolve("rsvg_handle_get_geometry_for_element", svg.geometryForElement) &&
            library.Resolve("rsvg_handle_render_document", svg.renderDocument) &&
            library.Resolve("g_file_new_for_path", svg.fileForPath) &&
            library.Resolve("g_memory_input_stream_new_from_data", svg.memoryStream);
        return found ? &svg : nullptr;
    }();
    return loaded;
}

}  // namespace Pym::Gfx
