// Paths, file loading and the state file, against real files in a scratch
// directory that is also the working directory.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "host/files.h"
#include "host/paths.h"
#include "support/child_process.h"
#include "test_host.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Files : ::testing::Test {
  void SetUp() override {
    char pattern[] = "/tmp/larkspin-host-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    fs::current_path(dir = pattern);
  }
  void TearDown() override { fs::current_path(previous), fs::remove_all(dir); }
  // The directory holds the state file and nothing else (no temporaries).
  bool OnlyStateFile() { return fs::exists(dir / ".quillstate") && std::distance(fs::directory_iterator(dir), {}) == 1; }
  TestHost host;
  fs::path dir, previous = fs::current_path();
};

TEST_F(Files, QuillPathsMapBesideTheExecutable) {
  auto mapped = [&](const char* path) { return host.PathToFilePath(path).ToUtf8(); };
  std::string exeDir = fs::read_symlink("/proc/self/exe").parent_path();
  EXPECT_EQ(mapped("quill://data/fonts/a.png"), exeDir + "/data/fonts/a.png");
  EXPECT_EQ(mapped("quill://other/x"), "");
  EXPECT_EQ(mapped("levels/one.txt"), "levels/one.txt");
  EXPECT_EQ(host.OpenFile("quill://other/x", "rb"), nullptr);
  auto fixed = [](const char* path) { return bb_data_FixDataPath(path).ToUtf8(); };
  EXPECT_EQ(fixed("graphics/title.png"), "quill://data/graphics/title.png");
  EXPECT_EQ(fixed("/abs/x.png"), "/abs/x.png");
  EXPECT_EQ(fixed("a/b:/c"), "quill://data/a/b:/c");  // not a scheme: a slash comes first
}

TEST_F(Files, LoadDataReadsWholeFilesAcrossBlockBoundaries) {
  for (size_t size : {0, 1, 4096, 10001}) {
    std::string bytes;
    for (size_t i = 0; i < size; ++i) bytes += char(i * 7 + 3);
    std::ofstream(dir / "blob.bin", std::ios::binary) << bytes;
    int length = -5;
    unsigned char* data = host.LoadData("./blob.bin", &length);
    ASSERT_NE(data, nullptr) << size;  // an empty file is still a file
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size_t(length)), bytes);
    free(data);
  }
  int length = -5;
  fs::create_directory(dir / "folder");
  EXPECT_EQ(host.LoadData("./missing.bin", &length) || host.LoadData("./folder", &length) || length != -5, false);
  std::ofstream("ints.bin", std::ios::binary) << std::string("\x01\x02\x03\x04\x05\x06", 6);
  FILE* f = fopen("ints.bin", "rb");
  EXPECT_EQ(readInt(f), 0x04030201);  // little-endian
  EXPECT_EQ(readInt(f), -1);          // short read
  fclose(f);
}

// A killed save leaves its temporary file; the next start clears those of
// dead processes but never one a running process may still use.
TEST_F(Files, StateRoundTripsAsExactUtf8AndClearsDeadTemporaries) {
  EXPECT_EQ(host.LoadState().Length(), 0);  // first start: no file
  pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  const std::string deadTemp = ".quillstate.tmp." + std::to_string(dead) + ".0";
  const std::string liveTemp = ".quillstate.tmp." + std::to_string(getppid()) + ".0";
  std::ofstream(dir / deadTemp) << "torn";
  std::ofstream(dir / liveTemp) << "busy";
  // e-acute, a CJK character, and a surrogate pair kept as two units.
  const Char units[] = {'a', 0xE9, 0x4E2D, 0xD83D, 0xDE00, '|'};
  String state(units, 6);
  ASSERT_EQ(host.SaveState(state), 0);
  EXPECT_EQ(ReadBytes(dir / ".quillstate"), "a\xC3\xA9\xE4\xB8\xAD\xED\xA0\xBD\xED\xB8\x80|");
  EXPECT_TRUE(host.LoadState() == state);
  EXPECT_FALSE(fs::exists(dir / deadTemp));
  fs::remove(dir / liveTemp);  // still there, or remove fails
  EXPECT_TRUE(OnlyStateFile());
  ASSERT_EQ(host.SaveState(String()), 0);
  EXPECT_EQ(fs::file_size(dir / ".quillstate"), 0u);
}

// A save that runs out of space (here: the file-size limit) reports the
// failure and leaves the previous save untouched.
TEST_F(Files, FailedSavesKeepThePreviousStateFile) {
  ASSERT_EQ(host.SaveState("old|records|"), 0);
  ChildResult outcome = RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {1024, 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    printf("%d", host.SaveState(String(std::string(64 * 1024, 'x').c_str())));
  });
  EXPECT_EQ(outcome.out, "-2");
  EXPECT_EQ(ReadBytes(dir / ".quillstate"), "old|records|");
  EXPECT_TRUE(OnlyStateFile());
  // A folder standing in the file's place cannot be replaced; the desktop
  // host says so (once: saves come every few seconds).
  fs::remove(dir / ".quillstate"), fs::create_directory(dir / ".quillstate");
  ChildResult reports = RunInChild([&] { printf("%d", host.SaveState("x")), host.SaveState("x"); });
  EXPECT_EQ(reports.out, "-1");
  EXPECT_EQ(reports.err, "larkspin: cannot save ./.quillstate: Is a directory\n");
  fs::create_directory(dir / "gone"), fs::current_path(dir / "gone");
  fs::remove(dir / "gone");  // no file can be created in a deleted directory
  EXPECT_EQ(host.SaveState("x"), -1);
}

// An unusable state file is moved aside before anything is saved: one the
// player cannot read (as an unprivileged user) and one far too large.
TEST_F(Files, UnusableStateFilesAreMovedAsideNotSavedOver) {
  const std::string big(64 * 1024 + 1, '7');
  for (bool unreadable : {true, false}) {
    std::ofstream(dir / ".quillstate") << (unreadable ? "1|2|records|" : big);
    if (unreadable) fs::permissions(dir / ".quillstate", fs::perms::none);
    fs::permissions(dir, fs::perms::all);
    ChildResult outcome = RunInChild([&] {
      if (unreadable && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return;
      int loaded = host.LoadState().Length();
      printf("%d %d", loaded, host.SaveState("fresh|"));
    });
    EXPECT_EQ(outcome.out, "0 0") << unreadable;
    const char* why = unreadable ? "cannot read ./.quillstate: Permission denied"
                                 : "./.quillstate is larger than 65536 bytes";
    EXPECT_EQ(outcome.err, std::string("larkspin: ") + why + "; moved it to ./.quillstate.bad and started with defaults\n");
    fs::permissions(dir / ".quillstate.bad", fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(ReadBytes(dir / ".quillstate.bad"), unreadable ? "1|2|records|" : big);
    EXPECT_EQ(ReadBytes(dir / ".quillstate"), "fresh|");
  }
}

// A state file linked elsewhere (a synced folder) stays a link: saves replace
// the target, with their temporary file beside it.
TEST_F(Files, SavesGoThroughALinkToItsTarget) {
  fs::create_directory(dir / "synced");
  fs::create_symlink("synced/larkspin", dir / ".quillstate");
  ASSERT_EQ(host.SaveState("linked|"), 0);
  EXPECT_TRUE(fs::is_symlink(dir / ".quillstate"));
  EXPECT_EQ(ReadBytes(dir / "synced" / "larkspin"), "linked|");
  EXPECT_TRUE(host.LoadState() == String("linked|"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "synced"), fs::directory_iterator()), 1);
}

// A child saving in a loop is killed at random moments: the file must load
// as one of the two states (short and long, so a torn one cannot pass).
TEST_F(Files, KilledSavesLeaveOldOrNewStateWhole) {
  const String states[2] = {String(std::string(300, 's').c_str()), String(std::string(40000, 'L').c_str())};
  ASSERT_EQ(host.SaveState(states[0]), 0);
  std::mt19937 random(12345);
  int sawLong = 0;
  for (int round = 0; round < 200; ++round) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t pid = fork();
    for (unsigned n = 1; pid == 0; ++n) {
      if (host.SaveState(states[n & 1]) != 0) _exit(1);
      if (n == 1) close(ready[1]);  // the first rewrite is on disk
    }
    char byte;
    close(ready[1]);
    ssize_t got = read(ready[0], &byte, 1);  // 0 once the write end closes
    close(ready[0]), usleep(std::uniform_int_distribution<int>(0, 4000)(random)), kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    // Anything but our own SIGKILL means the child failed to save.
    ASSERT_TRUE(got == 0 && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << round;
    String loaded = host.LoadState();
    ASSERT_TRUE(loaded == states[0] || loaded == states[1]) << "round " << round << ": torn, " << loaded.Length() << " units";
    sawLong += loaded == states[1];
  }
  EXPECT_TRUE(sawLong > 0 && sawLong < 200) << sawLong;  // the kills land at different points
}

// A web address reaches the opener as one argument, through no shell.
TEST_F(Files, OpenUrlHandsTheAddressOverAsOneArgument) {
  std::ofstream("xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > args.tmp; mv args.tmp args\n";
  fs::permissions("xdg-open", fs::perms::owner_all);
  const std::string path = getenv("PATH");
  setenv("PATH", (dir.string() + ":" + path).c_str(), 1);
  host.OpenUrl("http://example.com/a b;touch pwned");
  setenv("PATH", path.c_str(), 1);
  for (int i = 0; i < 200 && !fs::exists("args"); ++i) usleep(25 * 1000);
  EXPECT_EQ(ReadBytes("args"), "1\nhttp://example.com/a b;touch pwned\n");
  EXPECT_FALSE(fs::exists("pwned"));
}

}  // namespace
