#pragma once

// How the program's heap gives memory back. The program allocates most of what it keeps while
// it starts, then frees much of it (parsed documents, the sound devices' listing): without
// these, the freed pages stay resident for the rest of the run.
class HeapUse {
public:
    // One arena for every thread: the device threads allocate nothing, and the sound server's
    // client threads allocate little, so each thread's own arena only kept pages resident.
    static void OneArena();
    // Returns the free pages inside the heap to the system.
    static void GiveBackFreePages();
};
