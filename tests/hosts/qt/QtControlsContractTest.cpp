#include "hosts/qt/QtHost.h"
#include "support/ControlsContract.h"
#include "tests/hosts/qt/QtTestUser.h"

namespace pelgar::testing {
namespace {

class QtContractHarness : public ContractHarness {
 public:
  void WithDialog(ui::ControlEvents& events, const Body& body) override {
    ForwardingLogic logic(events);
    hosts::qt::QtHost host;
    host.on_shown = [&](hosts::qt::DialogWindow& window) {
      QtTestUser user(window);
      body(window.controls(), user);
      window.controls().Close(0);
    };
    EXPECT_EQ(host.RunModal(ContractTemplate(), logic), 0);
  }
};

INSTANTIATE_TEST_SUITE_P(Hosts, ControlsContract,
                         ::testing::Values(Harness<QtContractHarness>("QtHost")), HarnessName);

}  // namespace
}  // namespace pelgar::testing
