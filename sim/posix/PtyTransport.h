#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "platform/RealClock.h"
#include "sim/SimulatedReader.h"

namespace pelgar::sim {

// The simulated reader behind a raw pseudo-terminal, on real time, so that the program
// runs against it unchanged. The port directory entry (COM3) links to the terminal's
// device. The host's baud rate is read from the terminal settings, which the master side
// shares with the device side; replies leave at that rate (10 bits a byte), after the
// received bytes' own time on the line, scaled by the clock.
//
// The simulator keeps the device side open itself, so the host closing its port is no
// hang-up for the master and the next session finds the reader still there.
class PtyTransport {
 public:
  PtyTransport(SimulatedReader& reader, platform::RealClock& clock);
  ~PtyTransport();
  PtyTransport(const PtyTransport&) = delete;
  PtyTransport& operator=(const PtyTransport&) = delete;

  // Creates the pseudo-terminal and the entry `port_name` in the port directory (made
  // when missing). An existing entry is replaced only when it links to a pseudo-terminal,
  // so a link to a real adapter is never lost. False with `error` set on failure.
  bool Open(const std::string& port_name, std::string* error);
  // Answers the host until `stop` is set; looks at `stop` at least every 20 ms.
  void Run(const std::atomic<bool>& stop);
  // Removes the entry (when it is still ours) and closes the terminal: a host that still
  // has the port open sees a hang-up.
  void Close();

  const std::string& device_path() const { return device_path_; }
  // The rate the host's side is set to, or 0 when it is none the reader knows.
  int32_t HostBaud() const;

  // One line for every reply sent and for all that is received, with a timestamp
  // (--trace): each frame, each run of bytes the reader could not frame ("<- unparsed"),
  // and what the ISP side receives ("<- isp").
  std::function<void(const std::string&)> trace;
  // Called after the reader has handled what arrived (pelgar-sim saves its state there).
  std::function<void()> after_receive;

 private:
  struct Outgoing {
    double start_ms;  // real time at which the first byte may leave
    std::string bytes;
    size_t sent = 0;
  };

  double NowMs() const;
  double ByteMs(int32_t baud) const;
  void ReceiveAvailable();
  void Schedule(const std::vector<ReplyChunk>& chunks, double ready_ms);
  void SendDue();
  double NextWakeMs() const;
  void ReleaseStaleExclusion();
  void Trace(const char* direction, std::string_view bytes, const std::string& note = {});

  SimulatedReader& reader_;
  platform::RealClock& clock_;
  int master_ = -1;
  int keeper_ = -1;  // device side held open by the simulator
  int probe_ = -1;   // second device-side handle, to test the host's lock
  std::string device_path_;
  std::string entry_path_;
  std::deque<Outgoing> outgoing_;  // ordered by start time
  double line_free_ms_ = 0;        // when the reader's transmitter is free again
  double last_receive_ms_ = 0;
  bool idle_due_ = false;
  double last_sweep_ms_ = 0;
  double started_ms_ = 0;
  std::string rate_note_;  // what the trace adds to bytes received at a wrong rate
};

}  // namespace pelgar::sim
