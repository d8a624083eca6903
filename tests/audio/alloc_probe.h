// Records the largest single heap request made by our own code while armed.
// The test executable is linked with --wrap=malloc/realloc, so every call from
// the statically linked decoders passes through here before reaching libc.
#pragma once

#include <cstddef>

namespace alloc_probe {

void Arm();
// Largest request seen since Arm(); disarms the probe.
size_t Disarm();

}  // namespace alloc_probe
