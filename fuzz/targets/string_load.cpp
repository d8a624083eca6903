// Text files as String::Load reads them: byte-order marks, UTF-8 and the
// one-unit-per-byte fallback. Every unit must come from the input, and the
// UTF-8 written back out must read in as the same text.
#include <cstdio>

#include "fuzz_support.h"
#include "runtime/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_StartRuntime();
  FILE* file = fuzz_OpenBytes(data, size);
  String text = String::Load(file);
  fclose(file);
  fuzz_Check(size_t(text.Length()) <= size, "more units than input bytes");

  std::string utf8 = text.ToUtf8();
  FILE* again = fuzz_OpenBytes(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size());
  String reread = String::Load(again);
  fclose(again);
  // A text that itself starts with a byte-order mark loses it on reading.
  bool marked = text.Length() > 0 && (text[0] == 0xFEFF || text[0] == 0xFFFE);
  fuzz_Check(marked || reread == text, "UTF-8 written by ToUtf8 does not read back");
  return 0;
}
