#include "firmware/UpdaterLink.h"

#include <algorithm>
#include <charconv>

#include "device/Exchange.h"

namespace pelgar::firmware {
namespace {

// The port text is a COM port name; the link wants what follows "COM".
constexpr size_t kPortPrefixLength = 3;

int32_t DecimalValue(std::string_view text) {
  int32_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

bool UpdaterLink::OpenPort(std::string_view port_text, std::string_view baud_text) {
  std::string_view port_id =
      port_text.size() > kPortPrefixLength ? port_text.substr(kPortPrefixLength) : "";
  const int32_t baud = DecimalValue(baud_text);
  for (int attempt = 0; attempt < kOpenAttempts && !port_open_; ++attempt) {
    port_open_ = link_.Open(port_id, baud);
    if (!port_open_) clock().SleepMs(kOpenPauseMs);
  }
  return port_open_;
}

bool UpdaterLink::Exchange(std::string_view command, std::span<char> reply) {
  return device::Exchange(link_, command, reply);
}

bool UpdaterLink::CountedExchange(std::string_view command, std::span<char> reply, size_t count) {
  if (reply.empty()) return false;
  // Leave room for the terminator: nothing is stored past the buffer.
  count = std::min(count, reply.size() - 1);
  if (!link_.Write(command)) {
    reply[0] = '\0';
    return false;
  }
  size_t received = 0;
  bool got = link_.Read(reinterpret_cast<uint8_t*>(reply.data()), count, &received);
  // Positions this read did not fill must not show what an earlier reply left there.
  std::fill(reply.begin() + static_cast<std::ptrdiff_t>(received),
            reply.begin() + static_cast<std::ptrdiff_t>(count) + 1, '\0');
  return got;
}

bool UpdaterLink::SetBaudAndSync(int32_t baud) {
  link_.SetBaudRate(baud);
  char reply[device::kReplySize];
  for (int run = 0; run < 2; ++run) {
    clock().SleepMs(kSyncPauseMs);
    Exchange(kSync, reply);
  }
  return true;
}

void UpdaterLink::ClosePort() {
  link_.Close();
  port_open_ = false;
}

}  // namespace pelgar::firmware
