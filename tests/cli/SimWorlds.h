#pragma once

#include <map>
#include <memory>
#include <string>

#include "cli/ReaderWorld.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/RecordingPorts.h"

namespace pelgar::cli {

// In-process simulated readers, each on a virtual clock of its own, so that readers worked
// on at once by threads share nothing, as real ones on their own ports do. A port with no
// reader added is absent: it opens as "no such device".
class SimWorlds : public WorldMaker {
 public:
  sim::SimulatedReader& Add(const std::string& port, sim::ReaderState state = {}) {
    auto& reader = readers_[port];
    reader = std::make_unique<sim::SimulatedReader>(std::move(state));
    return *reader;
  }
  sim::SimulatedReader& reader(const std::string& port) { return *readers_.at(port); }

  std::unique_ptr<ReaderWorld> Make(const ReaderTarget& target) override {
    auto found = readers_.find(target.port);
    return std::make_unique<World>(found == readers_.end() ? absent_ : *found->second,
                                   found == readers_.end() ? "" : target.port);
  }

  // One reader's world, its writes recorded.
  struct World : ReaderWorld {
    World(sim::SimulatedReader& reader, const std::string& port) : sim_ports(reader, time) {
      sim_ports.present_ports = {port};
    }
    platform::PortFactory& ports() override { return recording; }
    platform::Clock& clock() override { return time; }

    platform::VirtualClock time;
    sim::InProcessPortFactory sim_ports;
    testing::RecordingPorts recording{sim_ports};
  };

 private:
  std::map<std::string, std::unique_ptr<sim::SimulatedReader>> readers_;
  sim::SimulatedReader absent_;
};

// A reader in the given slide switch position with the given revision.
inline sim::ReaderState Reader(sim::SlideSwitch position, std::string revision = "REV 2.30") {
  sim::ReaderState state;
  state.slide_switch = position;
  state.revision = std::move(revision);
  return state;
}

}  // namespace pelgar::cli
