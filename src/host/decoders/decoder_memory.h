// A ceiling on the memory the picture decoder may hold while one call runs.
//
// The header of a picture tells how much the decoder will want for an honest
// file, and the loader refuses what is too large before decoding; this limit
// catches what the header does not tell, such as a compressed stream that
// inflates past the size its header announces.
#pragma once

#include <cstddef>

// While one of these lives, the decoder's allocations on this thread that
// would take it past `bytes` held at once fail, and the decode fails with
// them. Without one there is no ceiling.
class DecoderMemoryLimit {
 public:
  explicit DecoderMemoryLimit(size_t bytes);
  ~DecoderMemoryLimit();
  DecoderMemoryLimit(const DecoderMemoryLimit&) = delete;
  DecoderMemoryLimit& operator=(const DecoderMemoryLimit&) = delete;

 private:
  size_t previous_;
};
