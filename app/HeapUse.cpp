#include "app/HeapUse.h"

#include <malloc.h>

void HeapUse::OneArena() {
    mallopt(M_ARENA_MAX, 1);
}

void HeapUse::GiveBackFreePages() {
    malloc_trim(0);
}
