#pragma once

#include <cstddef>
#include <string>

namespace Pym {

// Opens `path` for reading only when it names a regular file: a FIFO, a device or a directory
// gives -1 at once instead of blocking the caller in open() or read(). The descriptor is
// blocking again when returned; the caller closes it.
int OpenRegularFile(const std::string& path);

// Reads a whole regular file of at most `maxBytes` into `out`. False (and `out` untouched)
// when the file is not regular, too large or unreadable.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& out);

// Exactly `count` bytes from or to a descriptor, through short transfers and interruptions by
// signals; false at the end of the file or on an error.
bool ReadExactly(int fd, void* to, std::size_t count);
bool WriteExactly(int fd, const void* from, std::size_t count);

}  // namespace Pym
