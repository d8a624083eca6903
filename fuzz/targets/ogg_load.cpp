// Ogg Vorbis files through the host's checked decoder.
#include <cstdlib>

#include "fuzz_support.h"
#include "host/ogg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = fuzz_OpenBytes(data, size);
  int length = -1, channels = -1, format = -1, hertz = -1;
  unsigned char* samples = LoadOGG(file, &length, &channels, &format, &hertz);
  fclose(file);
  if (!samples) return 0;
  fuzz_Check(length > 0 && channels >= 1 && channels <= 16 && format == 2 && hertz > 0,
             "nonsense sound format");
  fuzz_Touch(samples, (long long)length * channels * format);
  free(samples);
  return 0;
}
