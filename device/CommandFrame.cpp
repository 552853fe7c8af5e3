#include "device/CommandFrame.h"

#include <algorithm>
#include <cstring>

#include "config/HexDigit.h"

namespace pelgar::device {

using config::HexDigitValue;

std::string HexByte(uint8_t value, HexCase letters) {
  const char* digits = letters == HexCase::kSmall ? "0123456789abcdef" : "0123456789ABCDEF";
  return {digits[value >> 4], digits[value & 0x0F]};
}

std::string HexText(std::string_view bytes, HexCase letters) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (char c : bytes) text += HexByte(static_cast<uint8_t>(c), letters);
  return text;
}

uint8_t FrameChecksum(std::string_view frame) {
  if (!frame.empty() && frame.front() == ':') frame.remove_prefix(1);
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < frame.size(); i += 2) {
    sum += static_cast<unsigned>(std::max(HexDigitValue(frame[i]), 0) * 16 +
                                 std::max(HexDigitValue(frame[i + 1]), 0));
  }
  return static_cast<uint8_t>(0x100 - (sum & 0xFF));
}

std::string WithChecksum(std::string_view frame, HexCase letters) {
  return std::string(frame) + HexByte(FrameChecksum(frame), letters);
}

unsigned LeadingHexValue(std::string_view text, size_t position, size_t digits) {
  unsigned value = 0;
  for (size_t i = position; i < position + digits && i < text.size(); ++i) {
    const int digit = HexDigitValue(text[i]);
    if (digit < 0) break;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return value;
}

std::string_view ReplyText(std::span<const char> reply) {
  return {reply.data(), strnlen(reply.data(), reply.size())};
}

char ReplyChar(std::span<const char> reply, size_t position) {
  std::string_view text = ReplyText(reply);
  return position < text.size() ? text[position] : '\0';
}

uint8_t ReplyByte(std::span<const char> reply, size_t position) {
  return static_cast<uint8_t>(LeadingHexValue(ReplyText(reply), position, 2));
}

}  // namespace pelgar::device
