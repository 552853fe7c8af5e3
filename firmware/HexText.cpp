#include "firmware/HexText.h"

#include <cstdio>

namespace pelgar::firmware {
namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

unsigned LeadingHex(std::string_view text, size_t position, size_t digits) {
  unsigned value = 0;
  for (size_t i = position; i < position + digits && i < text.size(); ++i) {
    int digit = DigitValue(text[i]);
    if (digit < 0) break;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return value;
}

// Characters before the data digits: colon, length, address, type.
constexpr size_t kRecordHeaderLength = 9;

}  // namespace

uint8_t HexPair(std::string_view text, size_t position) {
  return static_cast<uint8_t>(LeadingHex(text, position, 2));
}

uint16_t HexQuad(std::string_view text, size_t position) {
  return static_cast<uint16_t>(LeadingHex(text, position, 4));
}

uint8_t RecordChecksum(std::string_view text, size_t position) {
  unsigned sum = 0;
  for (size_t i = position; i + 1 < text.size(); i += 2) sum += HexPair(text, i);
  return static_cast<uint8_t>(0x100 - (sum & 0xFF));
}

void CompleteRecord(std::string& text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  if (text.size() < kRecordHeaderLength || text[0] != ':') return;
  if (text.size() - kRecordHeaderLength != 2u * HexPair(text, 1)) return;
  char pair[3];
  std::snprintf(pair, sizeof pair, "%02X", RecordChecksum(text, 1));
  text += pair;
}

}  // namespace pelgar::firmware
