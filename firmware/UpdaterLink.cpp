#include "firmware/UpdaterLink.h"

#include <algorithm>

#include "device/Exchange.h"
#include "device/PortText.h"

namespace pelgar::firmware {
bool UpdaterLink::OpenPort(std::string_view port_text, std::string_view baud_text) {
  const std::string_view port_id = device::PortIdOf(port_text);
  const int32_t baud = device::BaudOf(baud_text);
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
