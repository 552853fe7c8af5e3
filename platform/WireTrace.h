#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/SerialPort.h"

namespace pelgar::platform {

// What went over the wire, for a technician who has to see why a reader misbehaves: one
// line an event, "<ms> <device> <event> [<bytes>]", the milliseconds counted on the steady
// clock from the trace's start. A reply is read a byte at a time, so each traced port
// gathers the bytes it reads and writes them as one "recv" line when the line falls silent
// or the host acts again. Several ports may share one trace from threads of their own
// (pelgarctl talks to many readers at once): each line is written whole.
class WireTrace {
 public:
  // `out` must outlive the trace; `owned` is kept open for as long as the trace lives.
  explicit WireTrace(std::ostream& out, std::unique_ptr<std::ostream> owned = nullptr);

  void Event(const std::string& device, std::string_view event, std::string_view bytes = {});

  // `bytes` with every byte outside printable ASCII, and the backslash, escaped.
  static std::string Escape(std::string_view bytes);

 private:
  std::unique_ptr<std::ostream> owned_;
  std::ostream& out_;
  const std::chrono::steady_clock::time_point start_;
  std::mutex mutex_;
};

// Ports whose every open, baud change, write, reply and close goes to a trace as well.
class TracingPortFactory : public PortFactory {
 public:
  TracingPortFactory(std::unique_ptr<PortFactory> ports, std::shared_ptr<WireTrace> trace);
  std::unique_ptr<SerialPort> Create() override;

 private:
  std::unique_ptr<PortFactory> ports_;
  std::shared_ptr<WireTrace> trace_;
};

// A trace into the file `target` (appended to), or onto `err` when it is "-". A file that
// cannot be opened is reported once on `err`, as `program`'s, and gives no trace.
std::shared_ptr<WireTrace> OpenWireTrace(const std::string& target, std::ostream& err,
                                         std::string_view program);

// The program's ports, traced when PELGAR_TRACE names a file or is "-". Without the variable,
// or when its file cannot be opened, the ports are returned untraced.
std::unique_ptr<PortFactory> TracePortsFromEnvironment(std::unique_ptr<PortFactory> ports,
                                                       std::ostream& err);

}  // namespace pelgar::platform
