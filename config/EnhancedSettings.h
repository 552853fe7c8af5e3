#pragma once

#include <cstddef>
#include <cstdint>

namespace pelgar::config {

// Data wrappers: the head and tail wrapper together hold at most this many characters
// (counted decoded), and the reader reports at most this many per wrapper.
inline constexpr size_t kMaxWrapperTotal = 14;

// What one wrapper may still hold beside the other's `other_length` characters; the whole
// total beside nothing.
constexpr size_t WrapperBudget(size_t other_length) {
  return other_length >= kMaxWrapperTotal ? 0 : kMaxWrapperTotal - other_length;
}
bool WrapperLengthsFit(size_t head_length, size_t tail_length);

// Individual carriage returns and capital mode. The reader keeps capital mode in bit 4,
// the configuration file in bit 0; the track bits are the same in both.
struct CrFlags {
  bool track1 = false;
  bool track2 = false;
  bool track3 = false;
  bool capital_mode = false;
};
inline constexpr uint8_t kCrTrack1Bit = 0x02;
inline constexpr uint8_t kCrTrack2Bit = 0x04;
inline constexpr uint8_t kCrTrack3Bit = 0x08;
inline constexpr uint8_t kReaderCapitalModeBit = 0x10;
inline constexpr uint8_t kFileCapitalModeBit = 0x01;

uint8_t EncodeReaderCrByte(const CrFlags& flags);
CrFlags DecodeReaderCrByte(uint8_t value);
uint8_t EncodeFileCrByte(const CrFlags& flags);
CrFlags DecodeFileCrByte(uint8_t value);
uint8_t ReaderCrToFileCr(uint8_t reader_byte);
uint8_t FileCrToReaderCr(uint8_t file_byte);

// Wedge mode languages the program offers; a reader may report others.
inline constexpr uint8_t kWedgeLanguageAltNumPad = 0x00;
inline constexpr uint8_t kWedgeLanguageUsa = 0x01;
inline constexpr uint8_t kWedgeLanguageCustomTable = 0xFF;

// The windows send at most this many entries in one command; a session holds up to
// kMaxSessionEntries, zero-terminated.
inline constexpr size_t kMaxBatchEntries = 7;
inline constexpr size_t kMaxSessionEntries = 9;
// Codes the windows offer for replacement.
inline constexpr uint8_t kFirstOfferedCode = 0x20;
inline constexpr uint8_t kLastOfferedCode = 0x7E;
// Resetting the table maps entry indices 16..79, that is codes 0x20..0x5F (tracks 1 and
// 3), back to themselves; the track 2 codes 0x00..0x0F are indices 0..15.
inline constexpr uint8_t kResetFirstIndex = 16;
inline constexpr uint8_t kResetLastIndex = 79;
uint8_t CustomTableCodeForIndex(uint8_t index);

}  // namespace pelgar::config
