// Event routing: the lifecycle guards, the collector step after each call,
// and the end of the program when a thrown object escapes the game.
#include <gtest/gtest.h>

#include "support/child_process.h"
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
    host.DiscardGraphics();
  }

  TestHost host;
  RecordingDelegate* delegate = nullptr;
  Lines log;
};

TEST_F(Routing, GuardsFollowTheLifecycle) {
  SendEverything();
  host.SuspendGame();
  host.ResumeGame();
  EXPECT_TRUE(log.empty());  // nothing before the start
  host.StartGame();
  host.StartGame();
  host.ResumeGame();  // not suspended: nothing to resume
  host.SuspendGame();
  host.SuspendGame();
  SendEverything();  // suspended: everything but the update
  host.ResumeGame();
  host.ResumeGame();
  host.UpdateGame();
  EXPECT_EQ(log, (Lines{"start", "suspend", "render", "key 1 65", "mouse 4 0 10 20", "touch 7 1",
                        "discard", "resume", "update"}));
}

// Garbage made by the game is only collected if the host steps the
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
  for (int i = 0; i < 400; ++i) host.UpdateGame();  // about 160 MB of garbage
  EXPECT_FALSE(delegateDestroyed);
  EXPECT_GT(Probe::destroyed, 20000);
  delegate->destroyed = nullptr;
}

// Keys released while the game re-opens its window reach the delegate from
// inside the game's own update. No collector step may run there: the
// update's fresh objects are held only by its locals.
class Held : public Object {
 public:
  bool* gone = nullptr;
  ~Held() override {
    if (gone) *gone = true;
  }
};

TEST_F(Routing, NoCollectorStepInsideAnotherDelegateCall) {
  bool gone = false;
  delegate->onUpdate = [&] {
    Held* held = new Held;
    held->gone = &gone;
    for (int i = 0; i < 3000; ++i) new Probe;  // 12 MB: a cycle is due
    host.KeyEvent(2, 65);
    for (int i = 0; i < 3000; ++i) new Probe;  // destroys whatever was swept
    EXPECT_FALSE(gone);
    held->gone = nullptr;
  };
  host.StartGame();
  host.UpdateGame();
  EXPECT_EQ(log.back(), "key 2 65");
  delegate->onUpdate = nullptr;
  gone = false;
}

class Thrown : public ThrowableObject {};

TEST_F(Routing, ThrownObjectEndsTheProgramWithTheFixedMessage) {
  delegate->onUpdate = [] { throw new Thrown; };  // caught as its base
  host.StartGame();
  ChildResult outcome = RunInChild([&] {
    host.UpdateGame();
    puts("survived");
  });
  EXPECT_EQ(outcome.status, 255);
  EXPECT_EQ(outcome.out, "Quill Runtime Error : Uncaught Quill Exception\n");
}

}  // namespace
