// Small file helpers shared by the host's loaders.
#pragma once

#include <cstdio>

// Four bytes as a little-endian int32; -1 when fewer than four remain.
int readInt(FILE* file);
