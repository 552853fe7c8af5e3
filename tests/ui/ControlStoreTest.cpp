#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "ui/ControlStore.h"

namespace pelgar::ui {
namespace {

using ::testing::ElementsAre;

constexpr int kEdit = 10;
constexpr int kOther = 11;
constexpr int kCheck = 20;
constexpr int kButton = 30;
constexpr int kList = 40;

// Records notifications together with the state the handler saw.
class Recorder : public ControlEvents {
 public:
  void OnControl(int id, Notification notification) override {
    seen.emplace_back(id, notification);
    if (on_control) on_control(id, notification);
  }
  std::vector<std::pair<int, Notification>> seen;
  std::function<void(int, Notification)> on_control;
};

class ControlStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DialogTemplate dialog;
    dialog.controls = {
        MakeControl(kEdit, ControlKind::kEdit, "", {}),
        MakeControl(kOther, ControlKind::kEdit, "", {}),
        MakeControl(kCheck, ControlKind::kCheckBox, "Check", {}, 0, "tip"),
        MakeControl(kButton, ControlKind::kPushButton, "Go", {}, style::kDisabled),
        MakeControl(kList, ControlKind::kDropList, "", {}, style::kSorted),
    };
    dialog.controls.back().items = {"9600", "19200", "38400"};
    store = ControlStore(dialog);
    store.SetEvents(&events);
  }

  ControlStore store;
  Recorder events;
};

TEST_F(ControlStoreTest, ProgramWrittenTextNotifiesBeforeReturningAndHandlersMayNest) {
  // A handler writing another edit runs that edit's handler inside its own.
  events.on_control = [&](int id, Notification) {
    if (id == kEdit) {
      EXPECT_EQ(store.Text(kEdit), "abc");
      store.SetText(kOther, "x");
    }
  };
  store.SetText(kEdit, "abc");
  EXPECT_THAT(events.seen, ElementsAre(std::pair(kEdit, Notification::kChanged),
                                       std::pair(kOther, Notification::kChanged)));
}

TEST_F(ControlStoreTest, SettingACheckRaisesNothingButAClickTogglesFirst) {
  store.SetCheck(kCheck, true);
  EXPECT_TRUE(events.seen.empty());
  events.on_control = [&](int, Notification) { EXPECT_FALSE(store.IsChecked(kCheck)); };
  EXPECT_TRUE(store.Click(kCheck));
  EXPECT_THAT(events.seen, ElementsAre(std::pair(kCheck, Notification::kClicked)));
}

TEST_F(ControlStoreTest, TypingStopsAtTheLimitButProgramTextDoesNot) {
  store.SetLimit(kEdit, 3);
  store.SetText(kEdit, "abcdef");
  EXPECT_EQ(store.Text(kEdit), "abcdef");
  store.SetText(kEdit, "a");
  events.seen.clear();
  store.Type(kEdit, "xyz");
  EXPECT_EQ(store.Text(kEdit), "axy");
  EXPECT_EQ(events.seen.size(), 2u);  // one per character taken
  store.Paste(kEdit, "123456");
  EXPECT_EQ(store.Text(kEdit), "123");
  EXPECT_EQ(store.GetText(kEdit, 2), "12");
}

TEST_F(ControlStoreTest, DisabledOrHiddenControlsTakeNoInput) {
  EXPECT_FALSE(store.Click(kButton));
  store.Show(kCheck, false);
  EXPECT_FALSE(store.Click(kCheck));
  store.Enable(kEdit, false);
  EXPECT_FALSE(store.Type(kEdit, "a"));
  EXPECT_TRUE(events.seen.empty());
}

TEST_F(ControlStoreTest, SortedListOrdersByTextAndReadsTheSelection) {
  EXPECT_THAT(store.Items(kList), ElementsAre("19200", "38400", "9600"));
  EXPECT_EQ(store.GetText(kList, 9), "");
  store.Select(kList, 2);
  EXPECT_EQ(store.GetText(kList, 9), "9600");
  store.Select(kList, 7);
  EXPECT_EQ(store.Selected(kList), -1);
  EXPECT_TRUE(store.Choose(kList, 1));
  EXPECT_THAT(events.seen, ElementsAre(std::pair(kList, Notification::kSelectionChanged)));
}

TEST_F(ControlStoreTest, EnterAndEscapeArriveAsOkAndCancel) {
  store.PressEnter();
  store.PressEscape();
  EXPECT_THAT(events.seen, ElementsAre(std::pair(kIdOk, Notification::kClicked),
                                       std::pair(kIdCancel, Notification::kClicked)));
  store.Close(kIdOk);
  EXPECT_TRUE(store.closed());
  EXPECT_FALSE(store.Click(kCheck));
}

TEST_F(ControlStoreTest, UnknownIdsAreRecordedAndChangeNothing) {
  store.SetText(999, "x");
  EXPECT_FALSE(store.IsChecked(998));
  EXPECT_THAT(store.unknown_ids(), ElementsAre(999, 998));
  EXPECT_TRUE(events.seen.empty());
}

TEST_F(ControlStoreTest, TipsShowOnlyOnceTheTooltipControlExists) {
  EXPECT_EQ(store.ToolTip(kCheck), "");
  store.ActivateToolTips(320);
  EXPECT_EQ(store.ToolTip(kCheck), "tip");
}

}  // namespace
}  // namespace pelgar::ui
