// Event routing: the lifecycle guards, the collector step after each call
// (never inside another), and the end of the program when a thrown object
// escapes the game.
#include <gtest/gtest.h>

#include "support/child_process.h"
#include "test_host.h"

namespace {

// Garbage the game makes, 4 KB a piece.
struct Probe : Object {
  static inline int destroyed = 0;
  bool* gone = nullptr;
  int payload[1000] = {};
  ~Probe() override { ++destroyed, gone && (*gone = true); }
};
struct Thrown : ThrowableObject {};

TEST(Routing, GuardsFollowTheLifecycle) {
  TestHost host;
  Lines log;
  RecordingDelegate* delegate = new RecordingDelegate;
  delegate->log = &log;
  host.SetDelegate(delegate);
  auto sendEverything = [&] {
    host.UpdateGame(), host.RenderGame(), host.KeyEvent(1, 65), host.MouseEvent(4, 0, 10, 20);
    host.TouchEvent(7, 1, 0, 0), host.DiscardGraphics();
  };
  sendEverything(), host.SuspendGame(), host.ResumeGame();  // nothing before the start
  host.StartGame(), host.StartGame(), host.ResumeGame();     // not suspended: nothing to resume
  host.SuspendGame(), host.SuspendGame(), sendEverything();  // suspended: all but the update
  host.ResumeGame(), host.ResumeGame(), host.UpdateGame();
  EXPECT_EQ(log, (Lines{"start", "suspend", "render", "key 1 65", "mouse 4 0 10 20", "touch 7 1", "discard",
                        "resume", "update"}));
}

// The delegate, referenced by nothing but the host, survives every cycle;
// keys released while the game re-opens its window reach the delegate from
// inside its update, where the update's fresh objects are held only by its
// locals.
TEST(Routing, CollectorStepsAfterCallsOnlyAndKeepsTheDelegate) {
  TestHost host;
  RecordingDelegate* delegate = new RecordingDelegate;
  bool delegateGone = false, heldGone = false;
  delegate->destroyed = &delegateGone;
  delegate->onUpdate = [] {
    for (int i = 0; i < 100; ++i) new Probe;
  };
  host.SetDelegate(delegate);
  host.StartGame();
  for (int i = 0; i < 400; ++i) host.UpdateGame();  // about 160 MB of garbage
  EXPECT_FALSE(delegateGone);
  EXPECT_GT(Probe::destroyed, 20000);
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
  delegate->destroyed = nullptr;
  delegate->onUpdate = [] { throw new Thrown; };  // caught as its base
  ChildResult outcome = RunInChild([&] { host.UpdateGame(), puts("survived"); });
  EXPECT_EQ(outcome.status, 255);
  EXPECT_EQ(outcome.out, "Quill Runtime Error : Uncaught Quill Exception\n");
}

}  // namespace
