// Picture files through the desktop host's LoadImageData, from a file on
// disk exactly as the game loads its sheets.
#include <cstdlib>

#include "fuzz_support.h"
#include "host/glfw_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_StartRuntime();
  static BBGlfwGame* host = new BBGlfwGame();
  std::string path = fuzz_WriteScratch(data, size, ".png");
  int width = -1, height = -1, depth = -1;
  unsigned char* pixels = host->LoadImageData(String(path.c_str()), &width, &height, &depth);
  if (!pixels) return 0;
  fuzz_Check(width >= 1 && height >= 1 && depth >= 1 && depth <= 4, "nonsense picture size");
  fuzz_Check(width <= 4096 && height <= 4096, "picture beyond the size limit");
  fuzz_Touch(pixels, (long long)width * height * depth);
  free(pixels);
  return 0;
}
