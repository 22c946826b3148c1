#pragma once

// Marks a function that runs on a sound device's thread: it must neither wait nor allocate.
// Clang checks this at run time under -fsanitize=realtime (RealtimeSanitizer); other compilers
// see nothing.
#if defined(__clang__) && defined(__has_cpp_attribute)
#if __has_cpp_attribute(clang::nonblocking)
#define ONDREL_NONBLOCKING [[clang::nonblocking]]
#endif
#endif
#ifndef ONDREL_NONBLOCKING
#define ONDREL_NONBLOCKING
#endif
