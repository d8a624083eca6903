// The generator itself: a second run reproduces the build's data folder byte
// for byte, and a run that cannot write says so in its exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

static int Status(const std::string& command) {
  int status = std::system((command + " > /dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Generator, SecondRunReproducesTheDataFolderAndFailuresAreReported) {
  const std::string gen = LARKSPIN_ASSETGEN, data = std::string(std::getenv("LARKSPIN_BINARY_DIR")) + "/data";
  std::string dir = std::filesystem::temp_directory_path() / ("larkspin_assets_" + std::to_string(::getpid()));
  ASSERT_EQ(Status(gen + " " + dir + " --jobs 2"), 0);
  EXPECT_EQ(Status("diff -r " + data + " " + dir), 0) << "the data folder differs between runs";

  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/sfx") << "a file where the sound folder should go";
  EXPECT_NE(Status(gen + " " + dir + " --only sounds"), 0);
  EXPECT_NE(Status(gen), 0) << "no output folder given";
  EXPECT_NE(Status(gen + " " + dir + " --only everything"), 0);
  std::filesystem::remove_all(dir);
}
