#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pelgar::firmware {

// Hexadecimal fields of a record. Digits of either case count; conversion stops at the
// first character that is not a digit (or at the end of the text), so "G1" reads 0 and
// "1G" reads 1. Positions past the end read as the end of the text.
uint8_t HexPair(std::string_view text, size_t position);
uint16_t HexQuad(std::string_view text, size_t position);

}  // namespace pelgar::firmware
