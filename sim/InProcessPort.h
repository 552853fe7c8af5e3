#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>

#include "platform/SerialPort.h"
#include "platform/VirtualClock.h"
#include "sim/SimulatedReader.h"

namespace pelgar::sim {

// Serial ports wired straight to a SimulatedReader, on virtual time. Writes reach the
// reader at once; each reply byte becomes readable at the write's time plus its chunk's
// delay (the line itself takes no time). A read returns a byte at max(now, its time) and
// sleeps on the clock until then; a read that times out sleeps its full time-out. Sleeping
// runs the clock's wait hook, as a real port's polls do.
class InProcessPortFactory : public platform::PortFactory {
 public:
  InProcessPortFactory(SimulatedReader& reader, platform::VirtualClock& clock);
  ~InProcessPortFactory() override;
  InProcessPortFactory(const InProcessPortFactory&) = delete;
  InProcessPortFactory& operator=(const InProcessPortFactory&) = delete;

  std::unique_ptr<platform::SerialPort> Create() override;

  // Port names that exist ("COM3" by default); others give kNotFound.
  std::set<std::string> present_ports{"COM3"};
  // Another program holds the port: Open gives kBusy.
  bool busy = false;
  // Every write fails (a driver error).
  bool fail_writes = false;

  // The device vanishes: reads return 0 at once, HungUp() is true, writes fail, until the
  // port is closed. Later opens succeed again.
  void HangUp();

  // Successful opens so far.
  int open_count() const { return open_count_; }
  bool is_open() const { return open_; }
  // The rate the host's port is set to.
  int32_t baud() const { return baud_; }
  // Reply bytes not yet read by the host.
  size_t pending_bytes() const { return incoming_.size(); }

 private:
  friend class InProcessPort;

  struct Scheduled {
    int64_t at_ms;
    uint8_t byte;
  };

  void Deliver(const std::vector<ReplyChunk>& chunks);

  SimulatedReader& reader_;
  platform::VirtualClock& clock_;
  std::deque<Scheduled> incoming_;
  bool open_ = false;
  bool hung_up_ = false;
  int open_count_ = 0;
  int32_t baud_ = 0;
};

}  // namespace pelgar::sim
