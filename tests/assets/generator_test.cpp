// The generator itself: a second run reproduces the build's data folder byte
// for byte, and a run that cannot write says so in its exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

int RunGenerator(const std::string& args) {
  int status = std::system((std::string(LARKSPIN_ASSETGEN) + " " + args + " > /dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<char> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FilesUnder(const std::string& root) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).string());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

TEST(Generator, SecondRunReproducesTheDataFolderExactly) {
  std::string dir = (fs::temp_directory_path() / ("larkspin_assets_" + std::to_string(::getpid()))).string();
  ASSERT_EQ(RunGenerator(dir + " --jobs 2"), 0);
  const fs::path data = fs::path(std::getenv("LARKSPIN_BINARY_DIR")) / "data";
  std::vector<std::string> built = FilesUnder(data), again = FilesUnder(dir);
  ASSERT_FALSE(built.empty());
  EXPECT_EQ(built, again);
  for (const std::string& f : again)
    EXPECT_TRUE(ReadBytes(data / f) == ReadBytes(dir + "/" + f)) << f;

  fs::remove_all(dir);
  fs::create_directories(dir);
  std::ofstream(dir + "/sfx") << "a file where the sound folder should go";
  EXPECT_NE(RunGenerator(dir + " --only sounds"), 0);
  EXPECT_NE(RunGenerator(""), 0) << "no output folder given";
  EXPECT_NE(RunGenerator(dir + " --only everything"), 0);
  fs::remove_all(dir);
}
