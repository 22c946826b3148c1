#include "app/HeapUse.h"

#include <malloc.h>

void HeapUse::Configure() {
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_TOP_PAD, 0);
}

void HeapUse::GiveBackFreePages() {
    malloc_trim(0);
}
