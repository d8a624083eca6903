// The real program on a copy of its data folder where every picture and
// sound is emptied, cut short, junk or hostile: it keeps running in bounded
// memory and names each refused picture (and bad mapping line) with a reason.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

// Empty, truncated (past the header, so loaders get past their first
// checks), junk of the same size; pictures also become two fuzz seeds.
const char* const kSeeds[] = {"", "", "", "jpeg_code_table.png", "giant_grey16.png"};
const char* const kReasons[] = {"not a PNG file", "outofdata", "not a PNG file", "not a PNG file", "picture too large"};

std::string Damaged(const std::string& bytes, int kind, std::mt19937& random) {
  std::string out = kind == 1 ? bytes.substr(0, std::max<size_t>(64, bytes.size() / 3)) : "";
  if (kind == 2) std::generate_n(std::back_inserter(out), bytes.size(), [&] { return char(random()); });
  return kind > 2 ? Read(fs::path(getenv("LARKSPIN_FUZZ_SEEDS")) / "png_load" / kSeeds[kind]) : out;
}

TEST(HostileAssets, RefusedOneByOneWhileTheProgramRuns) {
  ASSERT_TRUE(getenv("LARKSPIN_GAME_PROGRAM") && getenv("LARKSPIN_GAME_DATA")) << "run it through ctest";
  fs::path dir = fs::temp_directory_path() / ("larkspin-hostile-" + std::to_string(getpid()));
  fs::remove_all(dir), fs::create_directories(dir);
  // A copy, not a link: the program finds data/ beside its real path.
  fs::copy_file(getenv("LARKSPIN_GAME_PROGRAM"), dir / "larkspin");
  fs::copy(getenv("LARKSPIN_GAME_DATA"), dir / "data", fs::copy_options::recursive);
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir / "data")) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  // Every size of one picture (name, name-hd, name-hd2) is damaged alike.
  std::map<std::string, int> kindOfPicture, kindOfBase;
  std::mt19937 random(7);
  int sounds = 0;
  for (const fs::path& file : files) {
    std::string base = std::regex_replace(file.stem().string(), std::regex("-hd2?$"), ""), ext = file.extension();
    if (ext == ".png") kindOfPicture[file] = kindOfBase.emplace(base, kindOfBase.size() % 5).first->second;
    else if (ext != ".wav" && ext != ".ogg") continue;
    std::string bytes = Damaged(Read(file), ext == ".png" ? kindOfPicture[file] : sounds++ % 3, random);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  }
  // The player's controller mappings, with a bad second line, are read at start.
  fs::create_directories(dir / "config/larkspin");
  std::ofstream(dir / "config/larkspin/gamecontrollerdb.txt") << "03000000de280000ff11000001000000,Pad,a:b0,\nnot a mapping\n";
  pid_t pid = fork();
  if (pid == 0) {
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    if (chdir(dir.c_str()) != 0 || !freopen("errors.txt", "w", stderr)) _exit(126);
    execl("./larkspin", "larkspin", (char*)nullptr);
    _exit(127);
  }
  // Runs until a refusal of every kind has been reported, and a second more.
  std::vector<int> refused(5);
  for (int tenths = 0; tenths < 150 && std::count(refused.begin(), refused.end(), 0) > 0; ++tenths) {
    usleep(100 * 1000);
    std::fill(refused.begin(), refused.end(), 0);
    std::istringstream errors(Read(dir / "errors.txt"));
    std::smatch m;
    for (std::string line; std::getline(errors, line);) {
      if (!std::regex_match(line, m, std::regex("Cannot load picture (.*): (.*)"))) continue;
      auto kind = kindOfPicture.find(m[1]);
      EXPECT_TRUE(kind != kindOfPicture.end() && m[2] == kReasons[kind->second]) << line;
      if (kind != kindOfPicture.end()) refused[kind->second]++;
    }
  }
  usleep(1000 * 1000);
  int status = 0;
  bool ended = waitpid(pid, &status, WNOHANG) == pid;
  std::string peak = std::regex_replace(Read("/proc/" + std::to_string(pid) + "/status"),
                                        std::regex("[^]*VmHWM:\\s*(\\d+)[^]*"), "$1");
  if (!ended) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  EXPECT_FALSE(ended) << "status " << status << "\n" << Read(dir / "errors.txt");
  EXPECT_LT(ended ? 0 : std::stol(peak), kMaxPeakKb) << peak;
  EXPECT_EQ(std::count(refused.begin(), refused.end(), 0), 0) << Read(dir / "errors.txt");
  EXPECT_NE(Read(dir / "errors.txt").find("/larkspin/gamecontrollerdb.txt:2: controller mapping skipped"), std::string::npos);
  // Without a display the program says so and ends with a failure status.
  std::string bare = "cd " + dir.string() + " && { env -u DISPLAY -u WAYLAND_DISPLAY ./larkspin 2>/dev/null; echo $?; } >bare";
  EXPECT_EQ(system(bare.c_str()), 0);
  EXPECT_EQ(Read(dir / "bare"), "glfwInit failed\n255\n");
  fs::remove_all(dir);
}

}  // namespace
