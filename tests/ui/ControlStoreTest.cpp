#include <gtest/gtest.h>

#include <string>

#include "ui/host/ControlStore.h"

namespace pelgar::ui {
namespace {

constexpr int kEdit = 10, kOther = 11, kCheck = 20;

// The platform's notification rules, which the window logic relies on; each notification
// logged as "id:kind", "+" when the check box is checked in its handler.
class ControlStoreTest : public ::testing::Test, public ControlEvents {
 protected:
  ControlStoreTest() {
    store.Add(MakeControl(kEdit, ControlKind::kEdit, "", {}));
    store.Add(MakeControl(kOther, ControlKind::kEdit, "", {}));
    store.Add(MakeControl(kCheck, ControlKind::kCheckBox, "Check", {}));
    store.SetEvents(this);
  }
  void OnControl(int id, Notification notification) override {
    const char* kind = notification == Notification::kClicked   ? "click"
                       : notification == Notification::kChanged ? "change"
                                                                : "other";
    seen += std::to_string(id) + ":" + kind + (store.IsChecked(kCheck) ? "+ " : " ");
    if (id == kEdit) store.SetText(kOther, store.Text(kEdit));  // nests a notification
  }

  ControlStore store;
  std::string seen;
};

TEST_F(ControlStoreTest, ProgramTextNotifiesAtOnceChecksOnlyWhenClickedInputOnlyWhenShown) {
  store.SetText(kEdit, "abc");
  store.SetCheck(kCheck, true);
  EXPECT_TRUE(store.Click(kCheck));  // toggled before the handler
  store.Enable(kOther, false);
  store.Show(kCheck, false);
  EXPECT_FALSE(store.Type(kOther, "a") || store.Click(kCheck));  // disabled, hidden
  EXPECT_EQ(store.Text(kOther) + " " + seen, "abc 10:change 11:change 20:click ");
}

}  // namespace
}  // namespace pelgar::ui
