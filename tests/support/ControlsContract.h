#pragma once

// The notification rules every Controls keeps, as one suite that each host runs against
// its own controls: the in-memory store, the scripted host and the desktop hosts. The
// window logic depends on each rule; a host that breaks one breaks a window.
//
// A test binary includes this header once and instantiates the suite with its harnesses:
//   INSTANTIATE_TEST_SUITE_P(Hosts, ControlsContract,
//                            ::testing::Values(Harness<StoreHarness>("Store")), HarnessName);

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "support/ContractUser.h"
#include "ui/host/Controls.h"
#include "ui/host/DialogLogic.h"
#include "ui/host/DialogTemplate.h"

namespace pelgar::testing {

namespace contract_id {
inline constexpr int kCheck = 1101;
inline constexpr int kEdit = 1102;
inline constexpr int kList = 1103;
inline constexpr int kButton = 1104;
}  // namespace contract_id

// A dialog with one control of each kind that notifies.
inline const ui::DialogTemplate& ContractTemplate() {
  static const ui::DialogTemplate dialog = [] {
    ui::DialogTemplate d;
    d.id = 900;
    d.title = "Contract";
    d.font_name = "MS Sans Serif";
    d.font_size = 8;
    d.width = 200;
    d.height = 80;
    d.controls = {
        ui::MakeControl(contract_id::kCheck, ui::ControlKind::kCheckBox, "Check", {10, 10, 60, 10}),
        ui::MakeControl(contract_id::kEdit, ui::ControlKind::kEdit, "", {10, 25, 80, 12}),
        ui::MakeControl(contract_id::kButton, ui::ControlKind::kPushButton, "Button",
                        {100, 10, 50, 14}),
        ui::MakeControl(contract_id::kList, ui::ControlKind::kDropList, "", {10, 45, 60, 50}),
    };
    d.controls.back().items = {"one", "two", "three"};
    return d;
  }();
  return dialog;
}

// The logic of the contract's dialog: hands every notification to `events`.
class ForwardingLogic : public ui::DialogLogic {
 public:
  explicit ForwardingLogic(ui::ControlEvents& events) : events_(events) {}
  void OnOpening(ui::Controls&) override {}
  void OnControl(int id, ui::Notification notification) override {
    events_.OnControl(id, notification);
  }

 private:
  ui::ControlEvents& events_;
};

// Opens ContractTemplate() on one host, sends its notifications to `events` and runs
// `body` while it is open.
class ContractHarness {
 public:
  using Body = std::function<void(ui::Controls&, ContractUser&)>;
  virtual ~ContractHarness() = default;
  virtual void WithDialog(ui::ControlEvents& events, const Body& body) = 0;
};

// A desktop host's modal run of the contract's dialog, with `User` playing the user on the
// window it shows.
template <class Host, class User>
class DesktopContractHarness : public ContractHarness {
 public:
  void WithDialog(ui::ControlEvents& events, const Body& body) override {
    ForwardingLogic logic(events);
    Host host;
    host.on_shown = [&](auto& window) {
      User user(window);
      body(window.controls(), user);
      window.controls().Close(0);
    };
    EXPECT_EQ(host.RunModal(ContractTemplate(), logic), 0);
  }
};

// One host to run the suite on, named for the test's name.
struct HarnessFactory {
  const char* name;
  std::unique_ptr<ContractHarness> (*make)();
};
template <class H>
HarnessFactory Harness(const char* name) {
  return {name, [] { return std::unique_ptr<ContractHarness>(std::make_unique<H>()); }};
}
inline std::string HarnessName(const ::testing::TestParamInfo<HarnessFactory>& info) {
  return info.param.name;
}
inline void PrintTo(const HarnessFactory& factory, std::ostream* os) { *os << factory.name; }

// A notification by name, in the enum's order, so that logs say what arrived.
inline std::string NotificationName(ui::Notification notification) {
  static const char* const kNames[] = {"click", "change", "select", "menu"};
  return kNames[static_cast<int>(notification)];
}

// Records notifications as "id:kind" and what the controls held when each arrived, and runs
// `inside` once within the next handler.
class ContractEvents : public ui::ControlEvents {
 public:
  void OnControl(int id, ui::Notification notification) override {
    log += (log.empty() ? "" : " ") + std::to_string(id) + ":" + NotificationName(notification);
    if (controls != nullptr) {
      checked_when_notified = controls->IsChecked(contract_id::kCheck);
      text_when_notified = controls->GetText(contract_id::kEdit, 100);
    }
    if (auto handler = std::exchange(inside, nullptr)) handler();
  }
  std::function<void()> inside;
  ui::Controls* controls = nullptr;
  std::string log;
  bool checked_when_notified = false;
  std::string text_when_notified;
};

class ControlsContract : public ::testing::TestWithParam<HarnessFactory> {
 protected:
  void Run(const ContractHarness::Body& body) {
    std::unique_ptr<ContractHarness> harness = GetParam().make();
    bool shown = false;
    harness->WithDialog(events, [&](ui::Controls& controls, ContractUser& user) {
      shown = true;
      events.controls = &controls;
      body(controls, user);
      events.controls = nullptr;
    });
    // A dialog that never showed would pass every rule without checking one.
    EXPECT_TRUE(shown) << "the dialog never showed";
  }
  ContractEvents events;
};

// The program's write into an edit notifies before SetText returns, like typing, and again
// for the same text; writes to other kinds say nothing. A typing limit never cuts the text.
TEST_P(ControlsContract, EditsNotifyForTheProgramsWritesAndTheirLimitNeverCutsText) {
  Run([&](ui::Controls& controls, ContractUser& user) {
    controls.SetText(contract_id::kEdit, "AB");
    EXPECT_EQ(events.log, "1102:change");
    EXPECT_EQ(events.text_when_notified, "AB");
    controls.SetText(contract_id::kEdit, "AB");
    EXPECT_EQ(events.log, "1102:change 1102:change");
    controls.SetText(contract_id::kList, "two");
    EXPECT_EQ(controls.Selected(contract_id::kList), 1);
    EXPECT_EQ(events.log, "1102:change 1102:change");

    controls.SetText(contract_id::kEdit, "ABCDE");
    controls.SetLimit(contract_id::kEdit, 3);
    EXPECT_EQ(controls.GetText(contract_id::kEdit, 100), "ABCDE");
    user.Type(contract_id::kEdit, "F");
    EXPECT_EQ(controls.GetText(contract_id::kEdit, 100), "ABCDE");
    controls.SetText(contract_id::kEdit, "A");
    events.log.clear();
    user.Type(contract_id::kEdit, "BCD");
    EXPECT_EQ(controls.GetText(contract_id::kEdit, 100), "ABC");
    EXPECT_EQ(events.log, "1102:change 1102:change");
    EXPECT_EQ(controls.GetText(contract_id::kEdit, 2), "AB");
  });
}

// Only the user's click and choice notify: a check toggles before its click arrives; the
// program's check and selection say nothing.
TEST_P(ControlsContract, OnlyTheUsersClickAndChoiceNotify) {
  Run([&](ui::Controls& controls, ContractUser& user) {
    controls.SetCheck(contract_id::kCheck, true);
    EXPECT_EQ(controls.Selected(contract_id::kList), -1);
    EXPECT_EQ(controls.GetText(contract_id::kList, 9), "");
    controls.Select(contract_id::kList, 2);
    EXPECT_EQ(controls.GetText(contract_id::kList, 9), "three");
    EXPECT_EQ(events.log, "");
    user.Click(contract_id::kCheck);
    EXPECT_EQ(events.log, "1101:click");
    EXPECT_FALSE(events.checked_when_notified);
    EXPECT_FALSE(controls.IsChecked(contract_id::kCheck));
    user.Click(contract_id::kButton);
    user.Choose(contract_id::kList, 0);
    EXPECT_EQ(events.log, "1101:click 1104:click 1103:select");
    EXPECT_EQ(controls.Selected(contract_id::kList), 0);
    controls.Select(contract_id::kList, 7);
    EXPECT_EQ(controls.Selected(contract_id::kList), -1);
  });
}

TEST_P(ControlsContract, NoUserNotificationWhileAHandlerOfTheWindowRuns) {
  Run([&](ui::Controls& controls, ContractUser& user) {
    events.inside = [&] {
      user.Click(contract_id::kCheck);
      user.Type(contract_id::kEdit, "X");
      user.Choose(contract_id::kList, 1);
      user.PressEnter();
      controls.SetText(contract_id::kEdit, "A");
    };
    user.Click(contract_id::kButton);
    EXPECT_EQ(events.log, "1104:click 1102:change");
  });
}

TEST_P(ControlsContract, EnterEscapeAndCloseBoxArriveAsOkAndCancel) {
  Run([&](ui::Controls&, ContractUser& user) {
    user.PressEnter();
    user.PressEscape();
    user.CloseBox();
    EXPECT_EQ(events.log, "1:click 2:click 2:click");
  });
}

}  // namespace pelgar::testing
