// Small file helpers shared by the host's loaders.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

// Four bytes as a little-endian int32; -1 when fewer than four remain.
int readInt(FILE* file);

// Appends the rest of the file to out; false when that would take out past
// limit bytes (what was read so far is kept).
bool readWhole(FILE* file, size_t limit, std::vector<unsigned char>* out);
