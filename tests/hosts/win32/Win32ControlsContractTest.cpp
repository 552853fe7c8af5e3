#include "hosts/win32/Win32Host.h"
#include "support/ControlsContract.h"
#include "tests/hosts/win32/Win32TestUser.h"

namespace pelgar::testing {
namespace {

class Win32ContractHarness : public ContractHarness {
 public:
  void WithDialog(ui::ControlEvents& events, const Body& body) override {
    ForwardingLogic logic(events);
    hosts::win32::Win32Host host;
    host.on_shown = [&](hosts::win32::DialogWindow& window) {
      Win32TestUser user(window);
      body(window.controls(), user);
      window.controls().Close(0);
    };
    EXPECT_EQ(host.RunModal(ContractTemplate(), logic), 0);
  }
};

INSTANTIATE_TEST_SUITE_P(Hosts, ControlsContract,
                         ::testing::Values(Harness<Win32ContractHarness>("Win32Host")),
                         HarnessName);

}  // namespace
}  // namespace pelgar::testing
