// gxtkSample: one decoded sound held in an OpenAL buffer. Buffers are not
// deleted on the spot: a discarded or collected sample hands its buffer to a
// list that the audio device flushes when nothing plays it any more.
#pragma once

#include <vector>

#include "runtime/runtime.h"

class gxtkSample : public Object {
 public:
  // OpenAL buffer name; 0 when the sample holds no sound.
  unsigned int buffer = 0;
  // The device session the buffer was made in; a buffer outlives a closed
  // device only as a stale name that must never reach OpenAL again.
  int session = 0;

  gxtkSample();
  explicit gxtkSample(unsigned int name);
  ~gxtkSample() override;

  void SetBuffer(unsigned int buffer);
  // Gives the buffer up for deletion; the sample stays usable but silent.
  virtual int Discard();
};

// Buffers of discarded or collected samples still to be deleted.
std::vector<unsigned int>& gxtkDiscardedBuffers();
