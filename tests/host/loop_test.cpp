// The frame loop's schedule, run against a clock the test controls: one
// render per pass, updates at the fixed rate, the four-update cap, re-basing
// after a rate change or a suspension.
#include <gtest/gtest.h>

#include <cmath>

#include "test_host.h"

namespace {

class Loop : public ::testing::Test {
 protected:
  void SetUp() override {
    delegate = new RecordingDelegate;
    delegate->log = &log;
    host.log = &log;
    host.SetDelegate(delegate);
    delegate->onUpdate = [this] {
      updateTimes.push_back(host.clock);
      if (onUpdate) onUpdate();
    };
    delegate->onRender = [this] {
      ++renders;
      host.clock += renderCost(renders);
    };
  }

  void Run(int passes) {
    host.passLimit = passes;
    host.Run();
    perPass = SplitPasses(log);
  }

  TestHost host;
  RecordingDelegate* delegate = nullptr;
  std::vector<std::string> log;
  std::vector<std::vector<std::string>> perPass;
  std::vector<double> updateTimes;
  std::function<void()> onUpdate;
  std::function<double(int)> renderCost = [](int) { return 0.001; };
  int renders = 0;
};

const double kPeriod = 1.0 / 60;

TEST_F(Loop, OpensTheFirstWindowThenStartsTheGame) {
  Run(1);
  EXPECT_EQ(host.windows, std::vector<std::string>{"640x480 888000 window"});
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "start");
  EXPECT_EQ(log[1], "pass");
}

TEST_F(Loop, RateZeroUpdatesOncePerFrameWithoutSleeping) {
  Run(20);
  ASSERT_EQ(perPass.size(), 20u);
  for (const auto& pass : perPass) {
    EXPECT_EQ(Count(pass, "render"), 1);
    EXPECT_EQ(Count(pass, "update"), 1);
    EXPECT_EQ(Count(pass, "sleep"), 0);
    EXPECT_EQ(Count(pass, "poll"), 1);
  }
}

TEST_F(Loop, FixedRateRunsOneUpdatePerPassAndSleepsBetween) {
  host.SetUpdateRate(60);
  Run(120);
  ASSERT_EQ(updateTimes.size(), 120u);
  for (size_t i = 1; i < updateTimes.size(); ++i) {
    EXPECT_NEAR(updateTimes[i] - updateTimes[i - 1], kPeriod, 1e-9) << "update " << i;
  }
  for (size_t p = 1; p < perPass.size(); ++p) {
    EXPECT_EQ(Count(perPass[p], "update"), 1);
    EXPECT_EQ(Count(perPass[p], "sleep"), 1);
  }
  // About two seconds of game time at 60 updates per second.
  EXPECT_NEAR(host.clock, 120 * kPeriod, 2 * kPeriod);
}

TEST_F(Loop, SlowFramesCatchUpAtMostFourUpdatesThenDropTheBacklog) {
  host.SetUpdateRate(60);
  // Pass 5 renders for 3.5 periods (three updates fall due), pass 10 for
  // 9.5 periods (nine fall due).
  renderCost = [](int render) {
    if (render == 5) return 3.5 * kPeriod;
    if (render == 10) return 9.5 * kPeriod;
    return 0.001;
  };
  Run(14);
  std::vector<int> updates;
  for (const auto& pass : perPass) updates.push_back(Count(pass, "update"));
  EXPECT_EQ(updates, (std::vector<int>{1, 1, 1, 1, 3, 1, 1, 1, 1, 4, 1, 1, 1, 1}));
  // After the capped pass the schedule restarts from the current time:
  // no sleep before the next update, and no further catching up.
  EXPECT_EQ(Count(perPass[10], "sleep"), 0);
  EXPECT_EQ(Count(perPass[11], "sleep"), 1);
  const int firstOfPass10 = 4 + 3 + 4;
  double capEnd = updateTimes[firstOfPass10 + 3];
  double rebased = updateTimes[firstOfPass10 + 4];
  EXPECT_NEAR(rebased - capEnd, 0.001, 1e-9);
}

TEST_F(Loop, RateChangeInsideAnUpdateSkipsTheRestOfThePass) {
  host.SetUpdateRate(60);
  renderCost = [](int render) { return render == 3 ? 3.5 * kPeriod : 0.001; };
  int updates = 0;
  onUpdate = [&] {
    if (++updates == 4) host.SetUpdateRate(30);  // second update of pass 3
  };
  Run(6);
  std::vector<int> counts;
  for (const auto& pass : perPass) counts.push_back(Count(pass, "update"));
  EXPECT_EQ(counts, (std::vector<int>{1, 1, 2, 1, 1, 1}));
  EXPECT_EQ(Count(perPass[3], "sleep"), 0);  // the new schedule starts now
  EXPECT_NEAR(updateTimes[5] - updateTimes[4], 1.0 / 30, 1e-9);
}

TEST_F(Loop, RateSetToZeroFallsBackToOneUpdatePerFrame) {
  host.SetUpdateRate(60);
  int updates = 0;
  onUpdate = [&] {
    if (++updates == 3) host.SetUpdateRate(0);
  };
  Run(8);
  for (size_t p = 3; p < perPass.size(); ++p) {
    EXPECT_EQ(Count(perPass[p], "update"), 1);
    EXPECT_EQ(Count(perPass[p], "sleep"), 0);
  }
}

TEST_F(Loop, FocusLossSuspendsOnceAndFocusReturnResumesOnceWithAFreshSchedule) {
  host.SetUpdateRate(60);
  host.waitCost = 1.0;  // each blocking wait takes a second
  int events = 0;
  host.onEvents = [&] {
    ++events;
    if (events == 3) host.active = false;
    if (events == 7) host.active = true;
  };
  Run(10);
  std::string all;
  int suspends = 0, resumes = 0;
  for (const auto& e : log) {
    suspends += e == "suspend";
    resumes += e == "resume";
  }
  EXPECT_EQ(suspends, 1);
  EXPECT_EQ(resumes, 1);
  // Passes 3..6 are suspended: they still render, block instead of
  // polling, and run no update.
  EXPECT_EQ(Count(perPass[2], "suspend"), 1);
  EXPECT_EQ(Count(perPass[2], "update"), 0);
  for (int p = 3; p <= 6; ++p) {
    EXPECT_EQ(Count(perPass[p], "render"), 1);
    EXPECT_EQ(Count(perPass[p], "wait"), 1);
    EXPECT_EQ(Count(perPass[p], "poll"), 0);
    EXPECT_EQ(Count(perPass[p], "update"), p == 6 ? 1 : 0);
  }
  // Seconds went by while suspended, yet the resumed game does not try to
  // catch up: one update, then the normal rate.
  EXPECT_EQ(Count(perPass[6], "resume"), 1);
  EXPECT_EQ(Count(perPass[7], "update"), 1);
  EXPECT_EQ(Count(perPass[7], "poll"), 1);
}

TEST_F(Loop, MillisecsFollowTheHostClock) {
  host.clock = 12.3456;
  EXPECT_EQ(host.Millisecs(), 12345);
  host.clock = 3000000.0;  // past 2^31 ms: wraps instead of overflowing
  EXPECT_EQ(host.Millisecs(), int(uint32_t(3000000000u)));
}

}  // namespace
