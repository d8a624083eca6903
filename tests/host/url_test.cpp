// Opening a web address: the opener gets it as one argument, untouched by
// any shell, and the game does not wait for the opener.
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

TEST(OpenUrl, HandsTheAddressToXdgOpenWithoutWaitingForIt) {
  char pattern[] = "/tmp/larkspin-url-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::string dir = pattern;
  // The stand-in opener waits (up to five seconds) for "go", which the test
  // only writes once OpenUrl has returned.
  std::ofstream(dir + "/xdg-open")
      << "#!/bin/sh\nd='" << dir << "'; i=0; s=free\n"
      << "while [ ! -e $d/go ]; do i=$((i+1)); [ $i -gt 100 ] && s=blocked && break; sleep 0.05; done\n"
      << "printf '%s\\n%s\\n%s\\n' $s \"$#\" \"$1\" > $d/tmp; mv $d/tmp $d/args\n";
  fs::permissions(dir + "/xdg-open", fs::perms::owner_all);
  std::string oldPath = getenv("PATH");
  setenv("PATH", (dir + ":" + oldPath).c_str(), 1);

  TestHost host;
  host.OpenUrl("http://example.com/a b;touch pwned");
  std::ofstream(dir + "/go") << "";
  std::string args;
  for (int i = 0; i < 200 && args.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(dir + "/args");
    args.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(args, "free\n1\nhttp://example.com/a b;touch pwned\n");
  EXPECT_FALSE(fs::exists("pwned"));
  fs::remove_all(dir);
}
