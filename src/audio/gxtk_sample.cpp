// Samples and the deferred deletion of their buffers.
#include "audio/gxtk_sample.h"

#include "audio/gxtk_audio.h"

std::vector<unsigned int>& gxtkDiscardedBuffers() {
  static std::vector<unsigned int> discarded;
  return discarded;
}

gxtkSample::gxtkSample() : session(gxtkAudio::session) {}

gxtkSample::gxtkSample(unsigned int name) : buffer(name), session(gxtkAudio::session) {}

// A playing source may still hold the buffer, so it is only queued here; the
// collector may run this long after the sample was last used.
gxtkSample::~gxtkSample() { Discard(); }

void gxtkSample::SetBuffer(unsigned int name) {
  buffer = name;
  session = gxtkAudio::session;
}

int gxtkSample::Discard() {
  if (buffer && session == gxtkAudio::session) gxtkDiscardedBuffers().push_back(buffer);
  buffer = 0;
  return 0;
}
