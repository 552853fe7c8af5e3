#include "sim/HexRecord.h"

namespace pelgar::sim {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string HexPair(uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

bool HexRecord::Parse(std::string_view text, HexRecord* out) {
  if (text.size() < TextLength(0) || text[0] != ':' || (text.size() - 1) % 2 != 0) return false;
  std::vector<uint8_t> bytes;
  bytes.reserve((text.size() - 1) / 2);
  for (size_t i = 1; i + 1 < text.size(); i += 2) {
    int high = HexDigitValue(text[i]);
    int low = HexDigitValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  if (text.size() != TextLength(bytes[0])) return false;
  uint8_t sum = 0;
  for (uint8_t byte : bytes) sum = static_cast<uint8_t>(sum + byte);
  out->length = bytes[0];
  out->address = static_cast<uint16_t>(bytes[1] << 8 | bytes[2]);
  out->type = bytes[3];
  out->data.assign(bytes.begin() + 4, bytes.end() - 1);
  out->checksum_ok = sum == 0;  // the checksum makes the whole record sum to zero
  return true;
}

std::string HexRecord::Format(uint8_t type, const std::vector<uint8_t>& data) {
  const auto length = static_cast<uint8_t>(data.size());
  std::string text = ":" + HexPair(length) + "0000" + HexPair(type);
  auto sum = static_cast<uint8_t>(length + type);
  for (uint8_t byte : data) {
    text += HexPair(byte);
    sum = static_cast<uint8_t>(sum + byte);
  }
  text += HexPair(static_cast<uint8_t>(0x100 - sum));
  return text;
}

}  // namespace pelgar::sim
