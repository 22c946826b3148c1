#pragma once

#include <librsvg/rsvg.h>

namespace Pym::Gfx {

// librsvg's entry points, opened the first time a vector picture must be parsed or rendered.
// Linked, it and its own libraries (GIO, libxml2, gdk-pixbuf) were loaded and relocated before
// main at every start, and kept 9 MB resident, though a start whose pictures are all in the
// render cache draws none of them.
struct SvgLibrary {
    RsvgHandle* (*newWithFlags)(RsvgHandleFlags);
    void (*setBaseGfile)(RsvgHandle*, GFile*);
    gboolean (*readStreamSync)(RsvgHandle*, GInputStream*, GCancellable*, GError**);
    gboolean (*intrinsicSizeInPixels)(RsvgHandle*, gdouble*, gdouble*);
    gboolean (*geometryForElement)(RsvgHandle*, const char*, RsvgRectangle*, RsvgRectangle*,
                                   GError**);
    gboolean (*renderDocument)(RsvgHandle*, cairo_t*, const RsvgRectangle*, GError**);
    GFile* (*fileForPath)(const char*);
    GInputStream* (*memoryStream)(const void*, gssize, GDestroyNotify);

    // Null when librsvg cannot be opened: vector pictures then do not load.
    static const SvgLibrary* Get();
};

}  // namespace Pym::Gfx
