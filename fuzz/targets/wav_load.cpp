// RIFF/WAVE files through the host's WAV reader. A decoded block can never
// claim more sample bytes than the file held.
#include <cstdlib>

#include "fuzz_support.h"
#include "host/wav_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = fuzz_OpenBytes(data, size);
  int length = -1, channels = -1, format = -1, hertz = -1;
  unsigned char* samples = LoadWAV(file, &length, &channels, &format, &hertz);
  fclose(file);
  if (!samples) return 0;
  fuzz_Check(length >= 0 && channels > 0 && format > 0 && hertz > 0, "nonsense sound format");
  fuzz_Check((unsigned long long)length * channels * format <= size, "more samples than the file held");
  fuzz_Touch(samples, (long long)length * channels * format);
  free(samples);
  return 0;
}
