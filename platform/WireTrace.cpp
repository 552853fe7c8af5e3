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

  OpenResult Open(const std::string& name, int32_t baud) override {
    device_ = DevicePathForPort(name);
    if (device_.empty()) device_ = name;
    OpenResult result = port_->Open(name, baud);
    trace_.Event(device_, result.ok() ? "open " + std::to_string(baud) + " baud"
                                      : "open failed: " + result.detail);
    return result;
  }
  void SetBaudRate(int32_t baud) override {
    trace_.Event(device_, "baud " + std::to_string(baud));
    port_->SetBaudRate(baud);
  }
  size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
    const size_t got = port_->Read(dest, count, total_ms, interval_ms);
    if (got > 0) trace_.Received(device_, dest, got);
    // A read that ends short ended on silence: the reply is over.
    if (got < count) trace_.EndReply();
    return got;
  }
  bool Write(const uint8_t* data, size_t count) override {
    const bool written = port_->Write(data, count);
    trace_.Event(device_, written ? "send" : "send failed",
                 std::string_view(reinterpret_cast<const char*>(data), count));
    return written;
  }
  bool HungUp() const override { return port_->HungUp(); }
  void Close() override {
    trace_.Event(device_, port_->HungUp() ? "close (the device hung up)" : "close");
    port_->Close();
  }

 private:
  std::unique_ptr<SerialPort> port_;
  WireTrace& trace_;
  std::string device_;
};

}  // namespace

WireTrace::WireTrace(std::ostream& out, std::unique_ptr<std::ostream> owned)
    : owned_(std::move(owned)), out_(out), start_(std::chrono::steady_clock::now()) {}

WireTrace::~WireTrace() { EndReply(); }

void WireTrace::Event(const std::string& device, std::string_view event, std::string_view bytes) {
  EndReply();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start_);
  out_ << ms.count() << ' ' << device << ' ' << event;
  if (!bytes.empty()) out_ << ' ' << Escape(bytes);
  // Flushed line by line: the trace matters most when the program dies in the middle.
  out_ << std::endl;
}

void WireTrace::Received(const std::string& device, const uint8_t* data, size_t count) {
  if (!reply_.empty() && device != reply_device_) EndReply();
  reply_device_ = device;
  reply_.append(reinterpret_cast<const char*>(data), count);
}

void WireTrace::EndReply() {
  if (reply_.empty()) return;
  std::string reply;
  reply.swap(reply_);
  Event(reply_device_, "recv", reply);
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
                                       std::unique_ptr<WireTrace> trace)
    : ports_(std::move(ports)), trace_(std::move(trace)) {}

std::unique_ptr<SerialPort> TracingPortFactory::Create() {
  std::unique_ptr<SerialPort> port = ports_->Create();
  if (port == nullptr) return port;
  return std::make_unique<TracingPort>(std::move(port), *trace_);
}

std::unique_ptr<PortFactory> TracePortsFromEnvironment(std::unique_ptr<PortFactory> ports,
                                                       std::ostream& err) {
  const char* target = std::getenv("PELGAR_TRACE");
  if (target == nullptr || *target == '\0') return ports;
  std::unique_ptr<WireTrace> trace;
  if (std::strcmp(target, "-") == 0) {
    trace = std::make_unique<WireTrace>(err);
  } else {
    auto file = std::make_unique<std::ofstream>(target, std::ios::app | std::ios::binary);
    if (!file->is_open()) {
      err << "pelgar: cannot open the trace file " << target << ": " << std::strerror(errno)
          << "; running without a trace" << std::endl;
      return ports;
    }
    std::ostream& out = *file;
    trace = std::make_unique<WireTrace>(out, std::move(file));
  }
  return std::make_unique<TracingPortFactory>(std::move(ports), std::move(trace));
}

}  // namespace pelgar::platform
