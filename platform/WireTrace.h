#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "platform/SerialPort.h"

namespace pelgar::platform {

// What went over the wire, for a technician who has to see why a reader misbehaves: one
// line an event, "<ms> <device> <event> [<bytes>]", the milliseconds counted on the steady
// clock from the trace's start. A reply is read a byte at a time, so the bytes read are
// gathered and written as one "recv" line when the line falls silent or the host acts again.
class WireTrace {
 public:
  // `out` must outlive the trace; `owned` is kept open for as long as the trace lives.
  explicit WireTrace(std::ostream& out, std::unique_ptr<std::ostream> owned = nullptr);
  ~WireTrace();

  void Event(const std::string& device, std::string_view event, std::string_view bytes = {});
  // Bytes of a reply, written out by the next event or by EndReply.
  void Received(const std::string& device, const uint8_t* data, size_t count);
  void EndReply();

  // `bytes` with every byte outside printable ASCII, and the backslash, escaped.
  static std::string Escape(std::string_view bytes);

 private:
  std::unique_ptr<std::ostream> owned_;
  std::ostream& out_;
  std::chrono::steady_clock::time_point start_;
  std::string reply_device_;
  std::string reply_;
};

// Ports whose every open, baud change, write, reply and close goes to a trace as well.
class TracingPortFactory : public PortFactory {
 public:
  TracingPortFactory(std::unique_ptr<PortFactory> ports, std::unique_ptr<WireTrace> trace);
  std::unique_ptr<SerialPort> Create() override;

 private:
  std::unique_ptr<PortFactory> ports_;
  std::unique_ptr<WireTrace> trace_;
};

// The program's ports, traced when PELGAR_TRACE names a file (appended to) or is "-"
// (standard error). A trace file that cannot be opened is reported once on `err` and the
// ports are returned untraced, as they are when the variable is not set.
std::unique_ptr<PortFactory> TracePortsFromEnvironment(std::unique_ptr<PortFactory> ports,
                                                       std::ostream& err);

}  // namespace pelgar::platform
