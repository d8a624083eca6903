// Event routing: the lifecycle guards, the collector step after each call,
// and the end of the program when a thrown object escapes the game.
#include <gtest/gtest.h>

#include <ctime>

#include "test_host.h"

namespace {

class Routing : public ::testing::Test {
 protected:
  void SetUp() override {
    delegate = new RecordingDelegate;
    delegate->log = &log;
    host.SetDelegate(delegate);
  }

  void SendEverything() {
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(1, 65);
    host.MouseEvent(4, 0, 10, 20);
    host.TouchEvent(7, 1, 0, 0);
    host.MotionEvent(10, 0, 0, 0, 0);
    host.DiscardGraphics();
  }

  TestHost host;
  RecordingDelegate* delegate = nullptr;
  std::vector<std::string> log;
};

TEST_F(Routing, NothingReachesTheGameBeforeItStartsAndStartHappensOnce) {
  SendEverything();
  host.SuspendGame();
  host.ResumeGame();
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(host.Started());

  host.StartGame();
  host.StartGame();
  EXPECT_EQ(log, std::vector<std::string>{"start"});
  EXPECT_TRUE(host.Started());

  log.clear();
  SendEverything();
  EXPECT_EQ(log, (std::vector<std::string>{"update", "render", "key 1 65", "mouse 4 0 10 20",
                                           "touch 7 1", "motion 10", "discard"}));
}

TEST_F(Routing, SuspendedGameGetsRendersAndInputButNoUpdates) {
  host.StartGame();
  log.clear();
  host.ResumeGame();  // not suspended: nothing to resume
  host.SuspendGame();
  host.SuspendGame();
  EXPECT_TRUE(host.Suspended());
  SendEverything();
  host.ResumeGame();
  host.ResumeGame();
  host.UpdateGame();
  EXPECT_EQ(log, (std::vector<std::string>{"suspend", "render", "key 1 65", "mouse 4 0 10 20",
                                           "touch 7 1", "motion 10", "discard", "resume",
                                           "update"}));
  EXPECT_FALSE(host.Suspended());
}

// Garbage made by the game is collected only if the host steps the
// collector after its calls; the delegate, referenced by nothing but the
// host, must survive every cycle.
class Probe : public Object {
 public:
  static int destroyed;
  int payload[1000] = {};
  ~Probe() override { ++destroyed; }
};
int Probe::destroyed = 0;

TEST_F(Routing, CollectorStepsAfterCallsAndKeepsTheDelegate) {
  bool delegateDestroyed = false;
  delegate->destroyed = &delegateDestroyed;
  delegate->onUpdate = [] {
    for (int i = 0; i < 100; ++i) new Probe;
  };
  host.StartGame();
  Probe::destroyed = 0;
  for (int i = 0; i < 400; ++i) host.UpdateGame();  // about 160 MB of garbage
  EXPECT_FALSE(delegateDestroyed);
  EXPECT_GT(Probe::destroyed, 20000);
  host.KeyEvent(1, 32);
  EXPECT_EQ(log.back(), "key 1 32");
  delegate->destroyed = nullptr;
}

class Thrown : public ThrowableObject {};

TEST_F(Routing, ThrownObjectEndsTheProgramWithTheFixedMessage) {
  delegate->onUpdate = [] { throw static_cast<ThrowableObject*>(new Thrown); };
  host.StartGame();
  ChildOutcome outcome = RunChild([&] {
    host.UpdateGame();
    puts("survived");
  });
  EXPECT_EQ(outcome.status, 255);
  EXPECT_EQ(outcome.out, "Quill Runtime Error : Uncaught Quill Exception\n");
}

TEST(HostDate, FillsAsManyFieldsAsTheArrayHolds) {
  gc_init();
  TestHost host;
  Array<int> date(9);
  date[7] = 77;
  date[8] = 88;
  time_t before = time(nullptr);
  host.GetDate(date);
  struct tm now;
  localtime_r(&before, &now);
  EXPECT_EQ(date[0], now.tm_year + 1900);
  EXPECT_EQ(date[1], now.tm_mon + 1);
  EXPECT_EQ(date[2], now.tm_mday);
  EXPECT_GE(date[5], 0);
  EXPECT_LE(date[5], 60);
  EXPECT_EQ(date[6], 0);
  EXPECT_EQ(date[7], 77);  // beyond the seven fields: untouched
  EXPECT_EQ(date[8], 88);

  Array<int> year(1);
  host.GetDate(year);
  EXPECT_EQ(year[0], now.tm_year + 1900);
  host.GetDate(Array<int>());  // nothing to fill, nothing to break
}

}  // namespace
