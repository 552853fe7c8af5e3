#include "device/CommandFrame.h"

#include <cstdlib>
#include <cstring>

namespace pelgar::device {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

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
    sum += static_cast<unsigned>(HexDigit(frame[i]) * 16 + HexDigit(frame[i + 1]));
  }
  return static_cast<uint8_t>(0x100 - (sum & 0xFF));
}

std::string WithChecksum(std::string_view frame, HexCase letters) {
  return std::string(frame) + HexByte(FrameChecksum(frame), letters);
}

std::string_view ReplyText(std::span<const char> reply) {
  return {reply.data(), strnlen(reply.data(), reply.size())};
}

char ReplyChar(std::span<const char> reply, size_t position) {
  std::string_view text = ReplyText(reply);
  return position < text.size() ? text[position] : '\0';
}

uint8_t ReplyByte(std::span<const char> reply, size_t position) {
  char pair[3] = {ReplyChar(reply, position), ReplyChar(reply, position + 1), '\0'};
  return static_cast<uint8_t>(std::strtol(pair, nullptr, 16) & 0xFF);
}

}  // namespace pelgar::device
