#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/ControlStore.h"

namespace pelgar::ui {
namespace {

using Seen = std::pair<int, Notification>;
constexpr int kEdit = 10, kOther = 11, kCheck = 20;

// The platform's notification rules, which the window logic relies on.
class ControlStoreTest : public ::testing::Test, public ControlEvents {
 protected:
  ControlStoreTest() : store(DialogTemplate{}) {
    store.Add(MakeControl(kEdit, ControlKind::kEdit, "", {}));
    store.Add(MakeControl(kOther, ControlKind::kEdit, "", {}));
    store.Add(MakeControl(kCheck, ControlKind::kCheckBox, "Check", {}));
    store.SetEvents(this);
  }
  void OnControl(int id, Notification notification) override {
    seen.emplace_back(id, notification);
    if (id == kEdit) store.SetText(kOther, store.Text(kEdit));  // nests a notification
    if (id == kCheck) checked_in_handler = store.IsChecked(kCheck);
  }

  ControlStore store;
  std::vector<Seen> seen;
  bool checked_in_handler = false;
};

TEST_F(ControlStoreTest, ProgramTextNotifiesAtOnceAndChecksOnlyWhenClicked) {
  store.SetText(kEdit, "abc");
  EXPECT_EQ(store.Text(kOther), "abc");
  store.SetCheck(kCheck, true);
  EXPECT_TRUE(store.Click(kCheck));
  EXPECT_FALSE(checked_in_handler || store.IsChecked(kCheck));  // toggled before the handler
  EXPECT_THAT(seen, ::testing::ElementsAre(Seen(kEdit, Notification::kChanged),
                                           Seen(kOther, Notification::kChanged),
                                           Seen(kCheck, Notification::kClicked)));
}

// Typing limits are seen through the wrapper budgets of the window tests.
TEST_F(ControlStoreTest, DisabledOrHiddenControlsTakeNoInput) {
  store.Enable(kOther, false);
  store.Show(kCheck, false);
  EXPECT_FALSE(store.Type(kOther, "a") || store.Click(kCheck));
  EXPECT_TRUE(seen.empty());
}

}  // namespace
}  // namespace pelgar::ui
