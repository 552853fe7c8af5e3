#include "hosts/qt/QtHost.h"
#include "support/ControlsContract.h"
#include "tests/hosts/QtTestUser.h"

namespace pelgar::testing {
namespace {

class QtContractHarness : public ContractHarness {
 public:
  void WithDialog(ui::ControlEvents& events, const Body& body) override {
    struct Logic : ui::DialogLogic {
      explicit Logic(ui::ControlEvents& to) : forward(to) {}
      void OnOpening(ui::Controls&) override {}
      void OnControl(int id, ui::Notification n) override { forward.OnControl(id, n); }
      ui::ControlEvents& forward;
    } logic(events);
    hosts::qt::QtHost host;
    host.on_shown = [&](hosts::qt::DialogWindow& window) {
      struct User : ContractUser {
        explicit User(hosts::qt::DialogWindow& w) : real(w) {}
        void Click(int id) override { real.Click(id); }
        void Type(int id, std::string_view chars) override { real.Type(id, chars); }
        void Choose(int id, int index) override { real.Choose(id, index); }
        void PressEnter() override { real.PressEnter(); }
        void PressEscape() override { real.PressEscape(); }
        void CloseBox() override { real.CloseBox(); }
        QtTestUser real;
      } user(window);
      body(window.controls(), user);
      window.controls().Close(0);
    };
    host.RunModal(ContractTemplate(), logic);
  }
};

INSTANTIATE_TEST_SUITE_P(Hosts, ControlsContract,
                         ::testing::Values(Harness<QtContractHarness>("QtHost")), HarnessName);

}  // namespace
}  // namespace pelgar::testing
