// Event routing: the lifecycle guards, the collector step after each call
// (never inside another), and the end of the program when a thrown object
// escapes the game.
#include <gtest/gtest.h>

#include "support/child_process.h"
#include "test_host.h"

namespace {

// Garbage the game makes, 4 KB a piece.
class Probe : public Object {
 public:
  static int destroyed;
  bool* gone = nullptr;
  int payload[1000] = {};
  ~Probe() override { ++destroyed, gone && (*gone = true); }
};
int Probe::destroyed = 0;

class Thrown : public ThrowableObject {};

class Routing : public ::testing::Test {
 protected:
  void SetUp() override {
    delegate->log = &log;
    host.SetDelegate(delegate);
  }
  TestHost host;
  RecordingDelegate* delegate = new RecordingDelegate;
  Lines log;
};

TEST_F(Routing, GuardsFollowTheLifecycle) {
  auto sendEverything = [&] {
    host.UpdateGame(), host.RenderGame(), host.KeyEvent(1, 65), host.MouseEvent(4, 0, 10, 20);
    host.TouchEvent(7, 1, 0, 0), host.DiscardGraphics();
  };
  sendEverything();
  host.SuspendGame(), host.ResumeGame();
  EXPECT_TRUE(log.empty());  // nothing before the start
  host.StartGame(), host.StartGame();
  host.ResumeGame();  // not suspended: nothing to resume
  host.SuspendGame(), host.SuspendGame();
  sendEverything();  // suspended: everything but the update
  host.ResumeGame(), host.ResumeGame(), host.UpdateGame();
  EXPECT_EQ(log, (Lines{"start", "suspend", "render", "key 1 65", "mouse 4 0 10 20", "touch 7 1",
                        "discard", "resume", "update"}));
}

// The delegate, referenced by nothing but the host, survives every cycle;
// keys released while the game re-opens its window reach the delegate from
// inside its update, where the update's fresh objects are held only by its
// locals.
TEST_F(Routing, CollectorStepsAfterCallsOnlyAndKeepsTheDelegate) {
  bool delegateGone = false, heldGone = false;
  delegate->destroyed = &delegateGone;
  delegate->onUpdate = [] {
    for (int i = 0; i < 100; ++i) new Probe;
  };
  host.StartGame();
  for (int i = 0; i < 400; ++i) host.UpdateGame();  // about 160 MB of garbage
  EXPECT_FALSE(delegateGone);
  EXPECT_GT(Probe::destroyed, 20000);
  delegate->destroyed = nullptr;
  delegate->onUpdate = [&] {
    Probe* held = new Probe;
    held->gone = &heldGone;
    for (int i = 0; i < 3000; ++i) new Probe;  // 12 MB: a cycle is due
    host.KeyEvent(2, 65);
    for (int i = 0; i < 3000; ++i) new Probe;  // destroys whatever was swept
    EXPECT_FALSE(heldGone);
    held->gone = nullptr;
  };
  host.UpdateGame();
  EXPECT_EQ(log.back(), "key 2 65");
}

TEST_F(Routing, ThrownObjectEndsTheProgramWithTheFixedMessage) {
  delegate->onUpdate = [] { throw new Thrown; };  // caught as its base
  host.StartGame();
  ChildResult outcome = RunInChild([&] { host.UpdateGame(), puts("survived"); });
  EXPECT_EQ(outcome.status, 255);
  EXPECT_EQ(outcome.out, "Quill Runtime Error : Uncaught Quill Exception\n");
}

}  // namespace
