// Opening a web address: the opener gets the address as one argument and
// the game does not wait for it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "test_host.h"

namespace fs = std::filesystem;

namespace {

TEST(OpenUrl, HandsTheAddressToXdgOpenWithoutWaitingForIt) {
  char pattern[] = "/tmp/larkspin-url-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  fs::path dir = pattern;
  // The stand-in opener waits until the test says "go"; a host that waited
  // for the opener would make it give up and report "blocked".
  {
    std::ofstream script(dir / "xdg-open");
    script << "#!/bin/sh\n"
           << "d='" << dir.string() << "'\n"
           << "i=0\n"
           << "while [ ! -e \"$d/go\" ] && [ $i -lt 100 ]; do sleep 0.05; i=$((i+1)); done\n"
           << "if [ -e \"$d/go\" ]; then s=free; else s=blocked; fi\n"
           << "printf '%s\\n%s\\n%s\\n' \"$s\" \"$#\" \"$1\" > \"$d/args.tmp\"\n"
           << "mv \"$d/args.tmp\" \"$d/args\"\n";
  }
  fs::permissions(dir / "xdg-open", fs::perms::owner_all);
  std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (dir.string() + ":" + oldPath).c_str(), 1);

  TestHost host;
  host.OpenUrl("http://example.com/a b;touch pwned");
  std::ofstream(dir / "go") << "";

  std::string args;
  for (int i = 0; i < 200 && args.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(dir / "args");
    args.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(args, "free\n1\nhttp://example.com/a b;touch pwned\n");
  EXPECT_FALSE(fs::exists(dir / "pwned"));
  EXPECT_FALSE(fs::exists("pwned"));
  fs::remove_all(dir);
}

}  // namespace
