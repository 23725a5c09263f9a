// Opening a picture file without ever waiting on it: a texture name may
// point at a FIFO, a device or a folder, and opening one of those must not
// freeze the viewer.
#pragma once

#include <cstddef>
#include <cstdint>

// An open descriptor for `path` when it names a regular file, with its size
// in `size`; -1 (nothing left open) for anything else or a file that can't
// be opened.
int openRegularFile(const char* path, uint64_t& size);

// Reads up to `count` bytes from `descriptor` into `buffer`, going on after
// short reads; the number of bytes read.
size_t readUpTo(int descriptor, uint8_t* buffer, size_t count);
