// The wait hook: every wait is cut into slices, each started by the host's hook, and the
// waits last exactly as long as without it.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/RealClock.h"
#include "platform/VirtualClock.h"

namespace pelgar::platform {
namespace {

// Notes the clock's time at every call.
class RecordingHook : public WaitHook {
 public:
  explicit RecordingHook(Clock& clock) : clock_(clock) {}
  void OnWait() override { calls.push_back(clock_.NowMs()); }

  std::vector<int64_t> calls;

 private:
  Clock& clock_;
};

TEST(WaitHook, VirtualSleepRunsItAtEachSliceAndKeepsTheTotal) {
  VirtualClock clock;
  RecordingHook hook(clock);
  clock.SetWaitHook(&hook);
  clock.SleepMs(505);
  EXPECT_EQ(clock.NowMs(), 505);
  // Thirty-eight full slices and a last one of 11 ms, each started by the hook.
  ASSERT_EQ(hook.calls.size(), 39u);
  for (size_t i = 0; i < hook.calls.size(); ++i) {
    EXPECT_EQ(hook.calls[i], static_cast<int64_t>(i) * kWaitSliceMs);
  }

  hook.calls.clear();
  clock.SleepMs(1);  // a wait shorter than a slice still runs it, once
  clock.SleepMs(0);
  clock.SleepMs(-5);
  EXPECT_EQ(hook.calls.size(), 1u);
  EXPECT_EQ(clock.NowMs(), 506);
}

TEST(WaitHook, RealSleepRunsItAndWaitsAtLeastTheWholeTime) {
  RealClock clock(10);  // a nominal 1000 ms is 100 real ms: eight slices
  RecordingHook hook(clock);
  clock.SetWaitHook(&hook);
  const auto start = std::chrono::steady_clock::now();
  clock.SleepMs(1000);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  // A loaded machine oversleeps a slice, which leaves fewer calls; a system that wakes a
  // sleep a little early (Windows, Wine) may make one or two more. The first slice always
  // has one.
  EXPECT_GE(hook.calls.size(), 1u);
  EXPECT_LE(hook.calls.size(), 10u);
}

// A hook may shorten the slices, to wake a wait when its next repaint is due; never to
// nothing, and never past a slice.
TEST(WaitHook, NextSliceIsTheHooksAskWithinOneSlice) {
  struct Asking : WaitHook {
    void OnWait() override {}
    int64_t MsUntilNextCall() const override { return ask; }
    int64_t ask = 0;
  } hook;
  VirtualClock clock;
  EXPECT_EQ(clock.RunWaitHook(), kWaitSliceMs);  // no hook
  clock.SetWaitHook(&hook);
  const std::pair<int64_t, int64_t> rows[] = {
      {-3, 1}, {0, 1}, {1, 1}, {7, 7}, {kWaitSliceMs, kWaitSliceMs}, {1000, kWaitSliceMs}};
  for (const auto& [ask, slice] : rows) {
    hook.ask = ask;
    EXPECT_EQ(clock.RunWaitHook(), slice) << ask;
  }
}

}  // namespace
}  // namespace pelgar::platform
