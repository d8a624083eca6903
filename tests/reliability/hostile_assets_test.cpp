// The real program on one copy of its data folder in which every picture,
// sound effect and tune is emptied, cut short, replaced by junk or by a
// hostile file. It must keep running in bounded memory and name each
// picture it refuses, with the reason, on one line.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Far above the intact game, far below a decoder working for a hostile
// header; AddressSanitizer's shadow and quarantine triple a program's memory.
#if defined(__SANITIZE_ADDRESS__)
const long kMaxPeakKb = 900 * 1024;
#else
const long kMaxPeakKb = 300 * 1024;
#endif

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sounds take the first three kinds; the last two are fuzz seeds.
struct Damage {
  const char* seed;
  const char* reason;  // given for a picture so damaged
};
const Damage kDamages[] = {{"", "not a PNG file"},
                           {"", "outofdata"},
                           {"", "not a PNG file"},
                           {"jpeg_code_table.png", "not a PNG file"},
                           {"giant_grey16.png", "picture too large"}};

// Truncation keeps the header and a little more, so loaders get past their
// first checks; junk keeps the size, so nothing can go by length.
std::string Damaged(const std::string& bytes, int kind, std::mt19937& random) {
  std::string out;
  if (kind == 1) out = bytes.substr(0, std::max<size_t>(64, bytes.size() / 3));
  if (kind == 2) std::generate_n(std::back_inserter(out), bytes.size(), [&] { return char(random()); });
  if (kind > 2) out = Read(fs::path(getenv("LARKSPIN_FUZZ_SEEDS")) / "png_load" / kDamages[kind].seed);
  return out;
}

long PeakKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  long kb = 0;
  while (status >> key && key != "VmHWM:") status.ignore(1 << 20, '\n');
  return status >> kb, kb;
}

TEST(HostileAssets, RefusedOneByOneWhileTheProgramRuns) {
  ASSERT_TRUE(getenv("LARKSPIN_GAME_PROGRAM") && getenv("LARKSPIN_GAME_DATA")) << "run it through ctest";
  fs::path dir = fs::temp_directory_path() / ("larkspin-hostile-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  // A copy, not a link: the program finds data/ beside its real path.
  fs::copy_file(getenv("LARKSPIN_GAME_PROGRAM"), dir / "larkspin");
  fs::copy(getenv("LARKSPIN_GAME_DATA"), dir / "data", fs::copy_options::recursive);
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir / "data"))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  // Every size of one picture (name, name-hd, name-hd2) is damaged alike.
  std::map<std::string, int> kindOfPicture, kindOfBase;
  std::mt19937 random(7);
  int sounds = 0;
  for (const fs::path& file : files) {
    std::string base = std::regex_replace(file.stem().string(), std::regex("-hd2?$"), "");
    bool picture = file.extension() == ".png";
    if (!picture && file.extension() != ".wav" && file.extension() != ".ogg") continue;
    int kind = picture ? kindOfBase.emplace(base, int(kindOfBase.size()) % 5).first->second : sounds++ % 3;
    if (picture) kindOfPicture[file.string()] = kind;
    std::string bytes = Damaged(Read(file), kind, random);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  }

  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0 || !freopen("errors.txt", "w", stderr)) _exit(126);
    execl("./larkspin", "larkspin", (char*)nullptr);
    _exit(127);
  }
  // Runs until a refusal of every kind has been reported, and a second more.
  const std::regex refusal("Cannot load picture (.*): (.*)");
  std::vector<int> refused(5);
  for (int tenths = 0; tenths < 150 && std::count(refused.begin(), refused.end(), 0) > 0; ++tenths) {
    usleep(100 * 1000);
    std::fill(refused.begin(), refused.end(), 0);
    std::istringstream errors(Read(dir / "errors.txt"));
    std::smatch m;
    for (std::string line; std::getline(errors, line);) {
      if (!std::regex_match(line, m, refusal)) continue;
      auto kind = kindOfPicture.find(m[1]);
      EXPECT_TRUE(kind != kindOfPicture.end() && m[2] == kDamages[kind->second].reason) << line;
      if (kind != kindOfPicture.end()) refused[kind->second]++;
    }
  }
  usleep(1000 * 1000);
  int status = 0;
  bool ended = waitpid(pid, &status, WNOHANG) == pid;
  long peak = PeakKb(pid);
  if (!ended) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  EXPECT_FALSE(ended) << "status " << status << "\n" << Read(dir / "errors.txt");
  EXPECT_LT(peak, kMaxPeakKb);
  EXPECT_EQ(std::count(refused.begin(), refused.end(), 0), 0) << Read(dir / "errors.txt");
  fs::remove_all(dir);
}

}  // namespace
