// Paths, file loading and the state file, against real files in a scratch
// directory.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <dirent.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "host/files.h"
#include "host/paths.h"
#include "test_host.h"

namespace fs = std::filesystem;

namespace {

std::string Utf8(const String& s) { return s.ToUtf8(); }

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// Each test runs in a fresh directory of its own, which is also the working
// directory (the state file lives there).
class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/larkspin-host-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    previous = fs::current_path();
    fs::current_path(dir);
  }
  void TearDown() override {
    fs::current_path(previous);
    fs::remove_all(dir);
  }

  std::vector<std::string> Entries() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  TestHost host;
  fs::path dir, previous;
};

TEST_F(Files, QuillPathsMapBesideTheExecutable) {
  std::string exeDir = fs::read_symlink("/proc/self/exe").parent_path();
  EXPECT_EQ(Utf8(host.PathToFilePath("quill://data/fonts/a.png")), exeDir + "/data/fonts/a.png");
  EXPECT_EQ(Utf8(host.PathToFilePath("quill://internal/save.txt")),
            exeDir + "/internal/save.txt");
  EXPECT_EQ(Utf8(host.PathToFilePath("quill://external/x/y.dat")), exeDir + "/external/x/y.dat");
  EXPECT_EQ(host.PathToFilePath("quill://other/x").Length(), 0);
  EXPECT_EQ(host.PathToFilePath("quill:data/x").Length(), 0);
  EXPECT_EQ(Utf8(host.PathToFilePath("levels/one.txt")), "levels/one.txt");
  EXPECT_EQ(Utf8(host.PathToFilePath("/etc/hostname")), "/etc/hostname");
  EXPECT_FALSE(fs::exists(exeDir + "/internal"));  // directories are not created
  EXPECT_EQ(host.OpenFile("quill://other/x", "rb"), nullptr);
}

TEST_F(Files, FixDataPathAddsTheDataSchemeOnlyToPlainNames) {
  EXPECT_EQ(Utf8(bb_data_FixDataPath("x.png")), "quill://data/x.png");
  EXPECT_EQ(Utf8(bb_data_FixDataPath("graphics/title.png")), "quill://data/graphics/title.png");
  EXPECT_EQ(Utf8(bb_data_FixDataPath("quill://data/x.png")), "quill://data/x.png");
  EXPECT_EQ(Utf8(bb_data_FixDataPath("http://host/x")), "http://host/x");
  EXPECT_EQ(Utf8(bb_data_FixDataPath("./x.png")), "./x.png");
  EXPECT_EQ(Utf8(bb_data_FixDataPath("/abs/x.png")), "/abs/x.png");
  // A colon-slash after the first slash is not a scheme.
  EXPECT_EQ(Utf8(bb_data_FixDataPath("a/b:/c")), "quill://data/a/b:/c");
}

TEST_F(Files, LoadDataReadsWholeFilesAcrossBlockBoundaries) {
  for (size_t size : {size_t(0), size_t(1), size_t(4095), size_t(4096), size_t(8192),
                      size_t(10001)}) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = char((i * 7 + 3) & 0xFF);
    WriteBytes(dir / "blob.bin", bytes);
    int length = -5;
    unsigned char* data = host.LoadData("./blob.bin", &length);
    ASSERT_NE(data, nullptr) << size;  // an empty file is still a file
    EXPECT_EQ(length, int(size));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), bytes);
    free(data);
  }
  int length = -5;
  EXPECT_EQ(host.LoadData("./missing.bin", &length), nullptr);
  fs::create_directory(dir / "folder");
  EXPECT_EQ(host.LoadData("./folder", &length), nullptr);
  EXPECT_EQ(length, -5);
}

TEST_F(Files, LoadStringDecodesUtf8AndNamesMayBeNonAscii) {
  const Char name[] = {'n', 0xE9, '.', 't', 'x', 't'};  // "né.txt"
  WriteBytes(dir / "n\xC3\xA9.txt", "caf\xC3\xA9 \xE2\x82\xAC");
  String text = host.LoadString(String("./") + String(name, 6));
  ASSERT_EQ(text.Length(), 6);
  EXPECT_EQ(text[3], 0xE9);
  EXPECT_EQ(text[5], 0x20AC);
  EXPECT_EQ(host.LoadString("./absent.txt").Length(), 0);
}

TEST_F(Files, ReadIntIsLittleEndianAndReportsShortReads) {
  WriteBytes(dir / "ints.bin", std::string("\x01\x02\x03\x04\xFF\xFF\xFF\x7F\x05\x06", 10));
  FILE* f = fopen("ints.bin", "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(readInt(f), 0x04030201);
  EXPECT_EQ(readInt(f), 0x7FFFFFFF);
  EXPECT_EQ(readInt(f), -1);
  fclose(f);
}

TEST_F(Files, StateRoundTripsAsExactUtf8) {
  // e-acute, a CJK character, and a surrogate pair kept as two units.
  const Char units[] = {'a', 0xE9, 0x4E2D, 0xD83D, 0xDE00, '|'};
  String state(units, 6);
  ASSERT_EQ(host.SaveState(state), 0);
  EXPECT_EQ(ReadBytes(dir / ".quillstate"),
            "a\xC3\xA9\xE4\xB8\xAD\xED\xA0\xBD\xED\xB8\x80|");
  EXPECT_TRUE(host.LoadState() == state);
  EXPECT_EQ(Entries(), std::vector<std::string>{".quillstate"});  // no temporary left

  ASSERT_EQ(host.SaveState(String()), 0);
  EXPECT_EQ(fs::file_size(dir / ".quillstate"), 0u);
  EXPECT_EQ(host.LoadState().Length(), 0);
}

TEST_F(Files, MissingStateFileLoadsEmpty) {
  EXPECT_EQ(host.LoadState().Length(), 0);
}

// A save that runs out of space (here: the file-size limit) must report the
// failure and leave the previous save untouched.
TEST_F(Files, FailedSaveKeepsThePreviousStateFile) {
  ASSERT_EQ(host.SaveState("old|records|"), 0);
  std::string big(64 * 1024, 'x');
  ChildOutcome outcome = RunChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {1024, 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    printf("%d", host.SaveState(String(big.c_str())));
  });
  EXPECT_EQ(outcome.out, "-2");
  EXPECT_EQ(ReadBytes(dir / ".quillstate"), "old|records|");
  EXPECT_EQ(Entries(), std::vector<std::string>{".quillstate"});
}

TEST_F(Files, SaveWithoutAWritableDirectoryReportsMinusOne) {
  fs::create_directory(dir / "gone");
  fs::current_path(dir / "gone");
  fs::remove(dir / "gone");  // the working directory no longer exists
  EXPECT_EQ(host.SaveState("x"), -1);
  EXPECT_EQ(host.LoadState().Length(), 0);
}

}  // namespace
