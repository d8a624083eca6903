// The real program started on copies of its data folder in which every
// picture, sound effect or tune has been emptied, cut short or replaced by
// junk or by a hostile file. It must keep running until we end it within a
// bounded memory, and where its pictures are intact it must show something
// rather than a blank window.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "reliability/screen_probe.h"

namespace fs = std::filesystem;
using Bytes = std::vector<char>;

namespace {

// kReplaced: each file becomes the fuzz seed named by the variant's `seed`.
enum class Damage { kEmpty, kTruncated, kGarbage, kReplaced };

struct Variant {
  const char* name;
  const char* extension;  // files of this kind are damaged; null: none
  Damage damage;
  const char* seed = nullptr;
};

// Far above the intact game, far below a decoder working for a hostile
// header; AddressSanitizer's shadow and quarantine triple a program's memory.
#if defined(__SANITIZE_ADDRESS__)
const long kMaxPeakKb = 900 * 1024;
#else
const long kMaxPeakKb = 300 * 1024;
#endif

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), {});
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

// Truncation keeps the header and a little more, so the loaders get past
// their first checks; junk keeps the size, so nothing can go by length.
void DamageFile(const fs::path& path, const Variant& v, std::mt19937& random) {
  Bytes bytes = ReadFile(path);
  switch (v.damage) {
    case Damage::kEmpty:
      bytes.clear();
      break;
    case Damage::kTruncated:
      bytes.resize(std::min(bytes.size(), std::max<size_t>(64, bytes.size() / 3)));
      break;
    case Damage::kGarbage:
      for (char& b : bytes) b = char(random());
      break;
    case Damage::kReplaced:
      bytes = ReadFile(fs::path(getenv("LARKSPIN_FUZZ_SEEDS")) / "png_load" / v.seed);
      break;
  }
  WriteFile(path, bytes);
}

// A private copy of the program and its data folder, the given kind of file
// damaged throughout.
fs::path Prepare(const fs::path& root, const Variant& v) {
  fs::path dir = root / v.name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  // A copy, not a link: the program finds data/ beside its real path.
  fs::copy_file(getenv("LARKSPIN_GAME_PROGRAM"), dir / "larkspin");
  fs::copy(getenv("LARKSPIN_GAME_DATA"), dir / "data", fs::copy_options::recursive);
  std::mt19937 random(7);
  if (v.extension) {
    for (const auto& entry : fs::recursive_directory_iterator(dir / "data"))
      if (entry.is_regular_file() && entry.path().extension() == v.extension)
        DamageFile(entry.path(), v, random);
  }
  return dir;
}

struct RunResult {
  bool stillRunning = false;
  int status = 0;
  bool showedSomething = false;
  long peakKb = 0;
};

long PeakKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  long kb = 0;
  while (status >> key && key != "VmHWM:") status.ignore(1 << 20, '\n');
  status >> kb;
  return kb;
}

// Runs the copied program for a few seconds in its own folder (the state
// file lands there too), looks at the screen, then kills it.
RunResult RunFor(const fs::path& dir, int millis) {
  RunResult result;
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(126);
    execl("./larkspin", "larkspin", (char*)nullptr);
    _exit(127);
  }
  for (int waited = 0; waited < millis; waited += 100) {
    usleep(100 * 1000);
    if (waitpid(pid, &result.status, WNOHANG) == pid) return result;
  }
  result.stillRunning = true;
  result.showedSomething = ScreenShowsSomething();
  result.peakKb = PeakKb(pid);
  kill(pid, SIGKILL);
  waitpid(pid, &result.status, 0);
  return result;
}

std::string Describe(int status) {
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "exited with status " + std::to_string(WEXITSTATUS(status));
}

class HostileAssets : public ::testing::TestWithParam<Variant> {};

TEST_P(HostileAssets, ProgramKeepsRunning) {
  const Variant& v = GetParam();
  ASSERT_TRUE(getenv("LARKSPIN_GAME_PROGRAM") && getenv("LARKSPIN_GAME_DATA")) << "run it through ctest";
  fs::path root = fs::temp_directory_path() / ("larkspin-hostile-" + std::to_string(getpid()));
  fs::path dir = Prepare(root, v);
  RunResult run = RunFor(dir, 4000);
  fs::remove_all(dir);
  ASSERT_TRUE(run.stillRunning) << v.name << ": " << Describe(run.status);
  EXPECT_LT(run.peakKb, kMaxPeakKb) << v.name;
  // Without usable pictures there may be nothing to show; otherwise a
  // uniform screen means the game stopped drawing.
  if (!v.extension || std::string(v.extension) != ".png") {
    EXPECT_TRUE(run.showedSomething) << v.name << ": the screen is one colour";
  }
}

const Variant kVariants[] = {
    {"intact", nullptr, Damage::kEmpty},
    {"pictures_empty", ".png", Damage::kEmpty},
    {"pictures_truncated", ".png", Damage::kTruncated},
    {"pictures_garbage", ".png", Damage::kGarbage},
    {"pictures_jpeg", ".png", Damage::kReplaced, "jpeg_code_table.png"},
    {"pictures_giant", ".png", Damage::kReplaced, "giant_grey16.png"},
    {"sounds_empty", ".wav", Damage::kEmpty},
    {"sounds_truncated", ".wav", Damage::kTruncated},
    {"sounds_garbage", ".wav", Damage::kGarbage},
    {"tunes_empty", ".ogg", Damage::kEmpty},
    {"tunes_truncated", ".ogg", Damage::kTruncated},
    {"tunes_garbage", ".ogg", Damage::kGarbage},
};

INSTANTIATE_TEST_SUITE_P(DataFolder, HostileAssets, ::testing::ValuesIn(kVariants),
                         [](const ::testing::TestParamInfo<Variant>& info) { return info.param.name; });

}  // namespace
