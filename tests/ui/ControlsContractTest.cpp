#include "support/ControlsContract.h"
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

class StoreHarness : public ContractHarness {
 public:
  void WithDialog(ui::ControlEvents& events, const Body& body) override {
    ui::ControlStore store(ContractTemplate());
    store.SetEvents(&events);
    StoreUser user(store);
    body(store, user);
  }
};

INSTANTIATE_TEST_SUITE_P(Hosts, ControlsContract,
                         ::testing::Values(Harness<StoreHarness>("ControlStore")), HarnessName);

}  // namespace
}  // namespace pelgar::testing
