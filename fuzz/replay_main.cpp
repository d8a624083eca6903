// Runs a fuzz target over files and folders of inputs without libFuzzer, so
// the seed and regression corpora replay as ordinary tests. Files ending in
// ".hex" hold their bytes as hexadecimal text (whitespace and lines starting
// with '#' are ignored), which keeps binary cases reviewable in the tree.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> FromHex(const std::string& text) {
  std::vector<uint8_t> out;
  int half = -1;
  bool comment = false;
  for (char c : text) {
    if (c == '\n') comment = false;
    if (comment) continue;
    if (c == '#') {
      comment = true;
      continue;
    }
    if (!isxdigit((unsigned char)c)) continue;
    int v = isdigit((unsigned char)c) ? c - '0' : tolower((unsigned char)c) - 'a' + 10;
    if (half < 0) {
      half = v;
    } else {
      out.push_back(uint8_t(half * 16 + v));
      half = -1;
    }
  }
  return out;
}

std::vector<uint8_t> ReadInput(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  if (path.extension() == ".hex") return FromHex(bytes);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void Collect(const fs::path& path, std::vector<fs::path>& files) {
  if (!fs::is_directory(path)) {
    files.push_back(path);
    return;
  }
  for (const auto& entry : fs::recursive_directory_iterator(path))
    if (entry.is_regular_file()) files.push_back(entry.path());
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    if (!fs::exists(argv[i])) {
      fprintf(stderr, "replay: no such input: %s\n", argv[i]);
      return 2;
    }
    Collect(argv[i], files);
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    fprintf(stderr, "replay: no inputs\n");
    return 2;
  }
  for (const fs::path& file : files) {
    std::vector<uint8_t> data = ReadInput(file);
    fprintf(stderr, "replay: %s (%zu bytes)\n", file.c_str(), data.size());
    LLVMFuzzerTestOneInput(data.data(), data.size());
  }
  fprintf(stderr, "replay: %zu inputs ran cleanly\n", files.size());
  return 0;
}
