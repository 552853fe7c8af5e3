#include "platform/WireTrace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <ostream>

#include "platform/PortNames.h"

namespace pelgar::platform {
namespace {

class TracingPort : public SerialPort {
 public:
  TracingPort(std::unique_ptr<SerialPort> port, WireTrace& trace)
      : port_(std::move(port)), trace_(trace) {}
  ~TracingPort() override { EndReply(); }

  OpenResult Open(const std::string& name, int32_t baud) override {
    device_ = DevicePathForPort(name);
    if (device_.empty()) device_ = name;
    OpenResult result = port_->Open(name, baud);
    Event(result.ok() ? "open " + std::to_string(baud) + " baud" : "open failed: " + result.detail);
    return result;
  }
  void SetBaudRate(int32_t baud) override {
    Event("baud " + std::to_string(baud));
    port_->SetBaudRate(baud);
  }
  size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
    const size_t got = port_->Read(dest, count, total_ms, interval_ms);
    if (got > 0) reply_.append(reinterpret_cast<const char*>(dest), got);
    // A read that ends short ended on silence: the reply is over.
    if (got < count) EndReply();
    return got;
  }
  bool Write(const uint8_t* data, size_t count) override {
    const bool written = port_->Write(data, count);
    Event(written ? "send" : "send failed",
          std::string_view(reinterpret_cast<const char*>(data), count));
    return written;
  }
  bool HungUp() const override { return port_->HungUp(); }
  void Close() override {
    Event(port_->HungUp() ? "close (the device hung up)" : "close");
    port_->Close();
  }

 private:
  // Every event of this port comes after the reply it has gathered so far.
  void Event(std::string_view event, std::string_view bytes = {}) {
    EndReply();
    trace_.Event(device_, event, bytes);
  }
  void EndReply() {
    if (reply_.empty()) return;
    std::string reply;
    reply.swap(reply_);
    trace_.Event(device_, "recv", reply);
  }

  std::unique_ptr<SerialPort> port_;
  WireTrace& trace_;
  std::string device_;
  std::string reply_;
};

}  // namespace

WireTrace::WireTrace(std::ostream& out, std::unique_ptr<std::ostream> owned)
    : owned_(std::move(owned)), out_(out), start_(std::chrono::steady_clock::now()) {}

void WireTrace::Event(const std::string& device, std::string_view event, std::string_view bytes) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start_);
  std::string line = std::to_string(ms.count()) + ' ' + device + ' ' + std::string(event);
  if (!bytes.empty()) line += ' ' + Escape(bytes);
  const std::lock_guard<std::mutex> lock(mutex_);
  // Flushed line by line: the trace matters most when the program dies in the middle.
  out_ << line << std::endl;
}

std::string WireTrace::Escape(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      text += "\\r";
    } else if (c == '\n') {
      text += "\\n";
    } else if (c == '\\') {
      text += "\\\\";
    } else if (byte >= 0x20 && byte <= 0x7E) {
      text += c;
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      text += escaped;
    }
  }
  return text;
}

TracingPortFactory::TracingPortFactory(std::unique_ptr<PortFactory> ports,
                                       std::shared_ptr<WireTrace> trace)
    : ports_(std::move(ports)), trace_(std::move(trace)) {}

std::unique_ptr<SerialPort> TracingPortFactory::Create() {
  std::unique_ptr<SerialPort> port = ports_->Create();
  if (port == nullptr) return port;
  return std::make_unique<TracingPort>(std::move(port), *trace_);
}

std::shared_ptr<WireTrace> OpenWireTrace(const std::string& target, std::ostream& err,
                                         std::string_view program) {
  if (target == "-") return std::make_shared<WireTrace>(err);
  auto file = std::make_unique<std::ofstream>(target, std::ios::app | std::ios::binary);
  if (!file->is_open()) {
    err << program << ": cannot open the trace file " << target << ": " << std::strerror(errno)
        << "; running without a trace" << std::endl;
    return nullptr;
  }
  std::ostream& out = *file;
  return std::make_shared<WireTrace>(out, std::move(file));
}

std::unique_ptr<PortFactory> TracePortsFromEnvironment(std::unique_ptr<PortFactory> ports,
                                                       std::ostream& err) {
  const char* target = std::getenv("PELGAR_TRACE");
  if (target == nullptr || *target == '\0') return ports;
  std::shared_ptr<WireTrace> trace = OpenWireTrace(target, err, "pelgar");
  if (trace == nullptr) return ports;
  return std::make_unique<TracingPortFactory>(std::move(ports), std::move(trace));
}

}  // namespace pelgar::platform
