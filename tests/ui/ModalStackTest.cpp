#include <gtest/gtest.h>

#include <string>

#include "ui/host/DialogTemplate.h"
#include "ui/host/ModalStack.h"

namespace pelgar::ui {
namespace {

struct Window : ModalWindow {
  void Finish(int result) override { log += "finish " + std::to_string(result) + ";"; }
  std::string log;
};

// Logs what the stack asks of its host.
struct Stack : ModalStack, TimerEvents {
  bool StartTimer(ModalWindow&, int id, int64_t) override { return Log("start", id), true; }
  void StopTimer(ModalWindow&, int id) override { Log("stop", id); }
  void PassWhileWaiting() override {
    OnWait();  // a wait inside the pass is not another pass
    log += waiting() ? "pass;" : "?;";
  }
  void ShowWaitCursor(bool on) override { log += on ? "wait;" : "arrow;"; }
  void OnTimer(int id) override { Log("tick", id); }
  void Log(const char* what, int id) { log += what + (" " + std::to_string(id)) + ";"; }
  std::string log;
};

TEST(ModalStack, CloseAndTheUserWaitForTheRunningHandler) {
  Stack stack;
  Window window;
  stack.Push(window);
  stack.Dispatch(window, [&] {
    window.RequestClose(3);
    EXPECT_FALSE(stack.Deliver(window, [] { ADD_FAILURE() << "re-entered"; }));
    stack.Dispatch(window, [] {});  // the program's own notification may nest
    EXPECT_EQ(window.log, "");
  });
  EXPECT_EQ(window.log, "finish 3;");
}

TEST(ModalStack, TimersTickOnTheIdleTopWindowAndDieWithIt) {
  Stack stack;
  Window first, second;
  stack.Push(first);
  stack.SetTimer(7, 500, stack);
  stack.Tick(first, 7);
  stack.Push(second);
  stack.Tick(first, 7);
  stack.Tick(second, 7);
  stack.Pop();
  stack.Dispatch(first, [&] { stack.Tick(first, 7); });
  stack.Pop();
  stack.Tick(first, 7);
  EXPECT_EQ(stack.log, "start 7;tick 7;stop 7;");
}

TEST(ModalStack, WaitsPassThrottledAndShowTheWaitCursorUntilTheHandlerEnds) {
  Stack stack;
  Window window;
  stack.Push(window);
  stack.set_pass_interval(std::chrono::microseconds(0));
  stack.Dispatch(window, [&] {
    stack.OnWait();
    stack.set_pass_interval(std::chrono::hours(1));
    stack.OnWait();
  });
  EXPECT_EQ(stack.log, "wait;pass;arrow;");
}

TEST(DialogTemplate, ListOrderIgnoresCaseAndTabSkipsNoTabStop) {
  ControlTemplate list = MakeControl(1, ControlKind::kDropList, "", {}, style::kSorted);
  list.items = {"b", "A", "a", "C"};
  EXPECT_EQ(ListEntries(list), (std::vector<std::string>{"A", "a", "b", "C"}));
  EXPECT_TRUE(TakesTab(list));
  EXPECT_FALSE(TakesTab(MakeControl(2, ControlKind::kCheckBox, "", {}, style::kNoTabStop)));
}

}  // namespace
}  // namespace pelgar::ui
