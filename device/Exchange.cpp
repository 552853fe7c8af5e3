#include "device/Exchange.h"

#include <cstring>

namespace pelgar::device {

bool Exchange(SerialLink& link, std::string_view frame, std::span<char> reply,
              char* last_received) {
  if (!link.Write(frame)) return false;
  size_t stored = 0;
  size_t received = 0;
  uint8_t byte = 0;
  while (link.ReadByte(&byte) == 1) {
    ++received;
    if (stored + 1 < reply.size()) reply[stored++] = static_cast<char>(byte);
    if (last_received != nullptr) *last_received = static_cast<char>(byte);
  }
  if (!reply.empty()) reply[stored] = '\0';
  return received > 0;
}

bool WaitForAcknowledge(SerialLink& link, int attempts) {
  uint8_t byte = 0;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (link.ReadByte(&byte) == 1 && byte == '.') {
      while (link.ReadByte(&byte) == 1) {
      }
      return true;
    }
    if (link.Lost() || !link.IsOpen()) return false;
    link.clock().SleepMs(1);
  }
  return false;
}

bool AcknowledgedAt(std::span<const char> reply, size_t position) {
  // Positions after the terminating zero hold nothing the reader sent.
  size_t length = strnlen(reply.data(), reply.size());
  return position < length && reply[position] == '.';
}

}  // namespace pelgar::device
