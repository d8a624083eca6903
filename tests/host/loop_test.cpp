// The frame loop's schedule against a clock the test controls: one render
// per pass, updates at the fixed rate, the four-update cap, re-basing after
// a rate change or a suspension.
#include <gtest/gtest.h>

#include <algorithm>

#include "test_host.h"

namespace {

const double kPeriod = 1.0 / 60;

class Loop : public ::testing::Test {
 protected:
  void SetUp() override {
    delegate = new RecordingDelegate;
    delegate->log = &log;
    host.log = &log;
    host.SetDelegate(delegate);
    delegate->onUpdate = [this] {
      updateTimes.push_back(host.clock);
      if (onUpdate) onUpdate(int(updateTimes.size()));
    };
    delegate->onRender = [this] { host.clock += renderCost(++renders); };
  }

  // Runs `passes` passes; returns what each pass logged.
  std::vector<Lines> Run(int passes) {
    host.passLimit = passes;
    host.Run();
    std::vector<Lines> perPass;
    for (const std::string& e : log) {
      if (e == "pass") {
        perPass.emplace_back();
      } else if (!perPass.empty()) {
        perPass.back().push_back(e);
      }
    }
    return perPass;
  }
  static std::vector<int> Counts(const std::vector<Lines>& passes, const std::string& entry) {
    std::vector<int> counts;
    for (const Lines& p : passes) counts.push_back(int(std::count(p.begin(), p.end(), entry)));
    return counts;
  }

  TestHost host;
  RecordingDelegate* delegate = nullptr;
  Lines log;
  std::vector<double> updateTimes;
  std::function<void(int)> onUpdate;
  std::function<double(int)> renderCost = [](int) { return 0.001; };
  int renders = 0;
};

TEST_F(Loop, RateZeroUpdatesOncePerFrameWithoutSleeping) {
  auto passes = Run(5);
  EXPECT_EQ(host.windows, Lines{"640x480 888000 window"});
  EXPECT_EQ(log[0], "start");
  for (const char* entry : {"render", "update"}) EXPECT_EQ(Counts(passes, entry), std::vector<int>(5, 1));
  EXPECT_EQ(Counts(passes, "sleep"), std::vector<int>(5, 0));
}

TEST_F(Loop, FixedRateRunsOneUpdatePerPassAndSleepsBetween) {
  host.SetUpdateRate(60);
  auto passes = Run(120);
  ASSERT_EQ(updateTimes.size(), 120u);
  for (size_t i = 1; i < updateTimes.size(); ++i) {
    EXPECT_NEAR(updateTimes[i] - updateTimes[i - 1], kPeriod, 1e-9) << "update " << i;
  }
  std::vector<int> sleeps(120, 1);
  sleeps[0] = 0;
  EXPECT_EQ(Counts(passes, "sleep"), sleeps);
}

TEST_F(Loop, SlowFramesCatchUpAtMostFourUpdatesThenDropTheBacklog) {
  host.SetUpdateRate(60);
  // Three updates fall due during render 5, nine during render 10.
  renderCost = [](int render) {
    return render == 5 ? 3.5 * kPeriod : render == 10 ? 9.5 * kPeriod : 0.001;
  };
  auto passes = Run(13);
  EXPECT_EQ(Counts(passes, "update"), (std::vector<int>{1, 1, 1, 1, 3, 1, 1, 1, 1, 4, 1, 1, 1}));
  // The schedule restarts from the current time: no sleep before the next
  // update and no further catching up.
  EXPECT_EQ(Counts(passes, "sleep")[10], 0);
  EXPECT_NEAR(updateTimes[15] - updateTimes[14], 0.001, 1e-9);
  EXPECT_NEAR(updateTimes[16] - updateTimes[15], kPeriod, 1e-9);
}

TEST_F(Loop, RateChangeInsideAnUpdateSkipsTheRestOfThePass) {
  host.SetUpdateRate(60);
  renderCost = [](int render) { return render == 3 ? 3.5 * kPeriod : 0.001; };
  onUpdate = [this](int n) {
    if (n == 4) host.SetUpdateRate(30);  // second update of pass 3
    if (n == 7) host.SetUpdateRate(0);
  };
  auto passes = Run(9);
  EXPECT_EQ(Counts(passes, "update"), (std::vector<int>{1, 1, 2, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(Counts(passes, "sleep"), (std::vector<int>{0, 1, 0, 0, 1, 1, 0, 0, 0}));
  EXPECT_NEAR(updateTimes[5] - updateTimes[4], 1.0 / 30, 1e-9);
}

TEST_F(Loop, FocusLossSuspendsOnceAndFocusReturnResumesOnceWithAFreshSchedule) {
  host.SetUpdateRate(60);
  host.waitCost = 1.0;  // every blocking wait takes a second
  int events = 0;
  host.onEvents = [&] {
    ++events;
    if (events == 3 || events == 7) host.active = !host.active;
  };
  auto passes = Run(9);
  EXPECT_EQ(Counts(passes, "suspend"), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Counts(passes, "resume"), (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 0, 0}));
  // Suspended passes still render but block instead of polling and do not
  // update; seconds went by, yet the resumed game does not catch up.
  EXPECT_EQ(Counts(passes, "render"), std::vector<int>(9, 1));
  EXPECT_EQ(Counts(passes, "wait"), (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 0, 0}));
  EXPECT_EQ(Counts(passes, "update"), (std::vector<int>{1, 1, 0, 0, 0, 0, 1, 1, 1}));
}

}  // namespace
