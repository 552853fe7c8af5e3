#include "firmware/HexText.h"

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

}  // namespace

uint8_t HexPair(std::string_view text, size_t position) {
  return static_cast<uint8_t>(LeadingHex(text, position, 2));
}

uint16_t HexQuad(std::string_view text, size_t position) {
  return static_cast<uint16_t>(LeadingHex(text, position, 4));
}

}  // namespace pelgar::firmware
