#include "app/HeapUse.h"

#include <malloc.h>

namespace {
// The start allocates some megabytes in small pieces: grown a page at a time, the heap took a
// thousand system calls to get there.
constexpr int kStartPadBytes = 1 << 20;
}  // namespace

void HeapUse::Configure() {
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_TOP_PAD, kStartPadBytes);
}

void HeapUse::EndStart() {
    mallopt(M_TOP_PAD, 0);
    malloc_trim(0);
}
