#include "platform/VirtualClock.h"
#include "support/ControlsContract.h"
#include "support/ScriptedHost.h"
#include "ui/host/ControlStore.h"

namespace pelgar::testing {
namespace {

// The store plays the user itself; it has no close box, so that is Escape too.
class StoreUser : public ContractUser {
 public:
  explicit StoreUser(ui::ControlStore& store) : store_(store) {}
  void Click(int id) override { store_.Click(id); }
  void Type(int id, std::string_view chars) override { store_.Type(id, chars); }
  void Choose(int id, int index) override { store_.Choose(id, index); }
  void PressEnter() override { store_.PressEnter(); }
  void PressEscape() override { store_.PressEscape(); }
  void CloseBox() override { store_.PressEscape(); }

 private:
  ui::ControlStore& store_;
};

// The rules through the scripted host's modal run, on its control store: the store of the
// unattended runs too.
class ScriptedHostHarness : public ContractHarness {
 public:
  void WithDialog(ui::ControlEvents& events, const Body& body) override {
    ForwardingLogic logic(events);
    platform::VirtualClock clock;
    ScriptedHost host(clock);
    host.Then(ContractTemplate().id, [&](ui::ControlStore& store) {
      StoreUser user(store);
      body(store, user);
      store.Close(0);
    });
    host.RunModal(ContractTemplate(), logic);
  }
};

INSTANTIATE_TEST_SUITE_P(Hosts, ControlsContract,
                         ::testing::Values(Harness<ScriptedHostHarness>("ScriptedHost")),
                         HarnessName);

}  // namespace
}  // namespace pelgar::testing
