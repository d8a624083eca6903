// The data buffer's "utf8" text decoding of arbitrary bytes. Text decoded
// from any bytes must survive being encoded and decoded again unchanged.
#include <cstring>

#include "fuzz_support.h"
#include "net/net.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_StartRuntime();
  int n = int(size);
  c_DataBuffer* buffer = (new c_DataBuffer)->m_new(n);
  if (n) memcpy(buffer->data, data, size);
  String text = buffer->p_PeekString(0, n, String("utf8"));
  fuzz_Check(text.Length() <= n, "more units than bytes");
  // An address inside the buffer reads the rest of it.
  if (n > 1) (void)buffer->p_PeekString2(n / 2, String("utf8"));

  c_DataBuffer* out = (new c_DataBuffer)->m_new(text.Length() * 3);
  int written = out->p_PokeString(0, text, String("utf8"));
  fuzz_Check(written <= out->length, "encoded text overflows its room");
  fuzz_Check(out->p_PeekString(0, written, String("utf8")) == text, "decoded text does not round-trip");
  buffer->Discard();
  out->Discard();
  gc_step(nullptr);
  return 0;
}
