#pragma once

// How the program's heap gives memory back. The program allocates most of what it keeps while
// it starts, then frees much of it (parsed documents, the sound devices' listing): without
// these, the freed pages stay resident for the rest of the run.
class HeapUse {
public:
    // Before any thread starts. One arena for every thread: the device threads allocate
    // nothing and the sound server's client threads little, so an arena of their own only
    // kept pages resident. While starting, the heap grows a megabyte at a time (padding
    // never touched is not resident).
    static void Configure();
    // Once the start is over: from then on no padding when the heap grows, so that what is
    // freed at its top goes back; the free pages inside the heap and at its top are returned.
    static void EndStart();
};
