// The generator itself: a second run reproduces the build's data folder
// byte for byte, and a run that cannot write says so in its exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "assets/asset_support.h"

using namespace assets_test;
namespace fs = std::filesystem;

namespace {

int RunGenerator(const std::string& args) {
  std::string command = std::string(LARKSPIN_ASSETGEN) + " " + args + " > /dev/null 2>&1";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string TempDir(const std::string& tag) {
  fs::path dir = fs::temp_directory_path() / ("larkspin_assets_" + tag + "_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  return dir.string();
}

std::vector<std::string> FilesUnder(const std::string& root) {
  std::vector<std::string> files;
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).string());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

TEST(Generator, SecondRunReproducesTheDataFolderExactly) {
  std::string dir = TempDir("again");
  ASSERT_EQ(RunGenerator(dir + " --jobs 2"), 0);
  std::vector<std::string> built = FilesUnder(DataDir()), again = FilesUnder(dir);
  ASSERT_FALSE(built.empty()) << "no data folder at " << DataDir();
  EXPECT_EQ(built, again);
  for (const std::string& f : again)
    EXPECT_TRUE(ReadBytes(DataDir() + "/" + f) == ReadBytes(dir + "/" + f)) << f << " differs between runs";
  fs::remove_all(dir);
}

TEST(Generator, PreviewWritesANumberedContactSheetPerPictureFile) {
  std::string dir = TempDir("preview");
  ASSERT_EQ(RunGenerator("--preview " + dir), 0);
  std::vector<std::string> sheets = FilesUnder(dir);
  // One per picture file at level 1 (every bank of the game plus the default
  // font), and the field pictures under each kind of colour vision.
  EXPECT_EQ(sheets.size(), 16u);
  for (const std::string& f : sheets) {
    Picture p = LoadPicture(dir + "/" + f);
    EXPECT_TRUE(p.Loaded()) << f;
    EXPECT_LE(p.width, 1100) << f << " is too wide to review";
  }
  fs::remove_all(dir);
}

TEST(Generator, FailureToWriteIsReportedInTheExitStatus) {
  std::string dir = TempDir("blocked");
  fs::create_directories(dir);
  std::ofstream(dir + "/sfx") << "a file where the sound folder should go";
  EXPECT_NE(RunGenerator(dir + " --only sounds"), 0);
  EXPECT_NE(RunGenerator(""), 0) << "no output folder given";
  EXPECT_NE(RunGenerator(dir + " --only everything"), 0);
  fs::remove_all(dir);
}
