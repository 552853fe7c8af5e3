#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pelgar::firmware {

// Hexadecimal fields of a record. Digits of either case count; conversion stops at the
// first character that is not a digit (or at the end of the text), so "G1" reads 0 and
// "1G" reads 1. Positions past the end read as the end of the text.
uint8_t HexPair(std::string_view text, size_t position);
uint16_t HexQuad(std::string_view text, size_t position);

// Appends the checksum pair ("%02X") to a record built at run time: the two's complement
// of the sum of its pairs from the length on. Trailing CR and LF are removed first. A text
// that does not begin with ':' or whose data digits do not match its length is left as it
// is (apart from the removed line end).
void CompleteRecord(std::string& text);

// The two's complement of the byte sum of the pairs from `position` on (checksum rule).
uint8_t RecordChecksum(std::string_view text, size_t position);

}  // namespace pelgar::firmware
