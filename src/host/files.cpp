// Opening and loading files through the host's path mapping.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/files.h"
#include "host/game.h"

// File names go to the C library as UTF-8, the encoding Linux file names
// are written in.
FILE* BBGame::OpenFile(String path, String mode) {
  String file = PathToFilePath(path);
  if (file.Length() == 0) return nullptr;
  std::string name = file.ToUtf8();
  std::string how = mode.ToUtf8();
  // A name with an embedded zero would silently open some other file.
  if (name.find('\0') != std::string::npos) return nullptr;
  return fopen(name.c_str(), how.c_str());
}

String BBGame::LoadString(String path) {
  FILE* file = OpenFile(path, "rb");
  if (!file) return String();
  String text = String::Load(file);
  fclose(file);
  return text;
}

// The caller owns the block (free). An empty file gives a valid block of
// length 0, so success is never mistaken for a missing file; a file too
// big for the int length, or one that cannot be read, gives null.
unsigned char* BBGame::LoadData(String path, int* length) {
  FILE* file = OpenFile(path, "rb");
  if (!file) return nullptr;
  std::vector<unsigned char> bytes;
  unsigned char block[4096];
  bool tooBig = false;
  for (;;) {
    size_t n = fread(block, 1, sizeof block, file);
    if (bytes.size() + n > size_t(INT_MAX)) {
      tooBig = true;
      break;
    }
    bytes.insert(bytes.end(), block, block + n);
    if (n < sizeof block) break;
  }
  // A read error (a directory, a failing disk) is no file, not an empty one.
  bool failed = tooBig || ferror(file);
  fclose(file);
  if (failed) return nullptr;
  unsigned char* data = static_cast<unsigned char*>(malloc(bytes.empty() ? 1 : bytes.size()));
  if (!data) return nullptr;
  if (!bytes.empty()) memcpy(data, bytes.data(), bytes.size());
  if (length) *length = int(bytes.size());
  gc_ext_malloced(int(bytes.size()));
  return data;
}

int readInt(FILE* file) {
  unsigned char b[4];
  if (fread(b, 1, 4, file) != 4) return -1;
  return int(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

bool readWhole(FILE* file, size_t limit, std::vector<unsigned char>* out) {
  unsigned char block[65536];
  size_t n;
  while ((n = fread(block, 1, sizeof block, file)) > 0) {
    if (n > limit - out->size()) return false;
    out->insert(out->end(), block, block + n);
  }
  return true;
}
