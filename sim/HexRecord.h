#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelgar::sim {

// The reader's view of a colon-led record: ":" length(2) address(4) type(2) data checksum(2),
// hexadecimal in either letter case.
struct HexRecord {
  uint8_t length = 0;
  uint16_t address = 0;
  uint8_t type = 0;
  std::vector<uint8_t> data;
  bool checksum_ok = false;

  // Characters of a whole record that carries `data_bytes` data bytes.
  static constexpr size_t TextLength(size_t data_bytes) { return 11 + 2 * data_bytes; }

  // Parses one complete record text. False when it is not one: no colon, a character that
  // is not a hexadecimal digit, or a text length that disagrees with the length field.
  // A record whose checksum is wrong parses, with checksum_ok false.
  static bool Parse(std::string_view text, HexRecord* out);
  // A record of type `type` at address 0000 with its checksum, in capitals.
  static std::string Format(uint8_t type, const std::vector<uint8_t>& data);
};

// 0..15 for a hexadecimal digit, -1 otherwise.
int HexDigitValue(char c);
// Two capital hexadecimal digits.
std::string HexPair(uint8_t value);

}  // namespace pelgar::sim
