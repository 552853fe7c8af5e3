#include "config/EnhancedSettings.h"

namespace pelgar::config {
namespace {

uint8_t TrackBits(const CrFlags& flags) {
  return (flags.track1 ? kCrTrack1Bit : 0) | (flags.track2 ? kCrTrack2Bit : 0) |
         (flags.track3 ? kCrTrack3Bit : 0);
}

CrFlags TrackFlags(uint8_t value) {
  CrFlags flags;
  flags.track1 = (value & kCrTrack1Bit) != 0;
  flags.track2 = (value & kCrTrack2Bit) != 0;
  flags.track3 = (value & kCrTrack3Bit) != 0;
  return flags;
}

}  // namespace

bool WrapperLengthsFit(size_t head_length, size_t tail_length) {
  return head_length <= kMaxWrapperTotal && tail_length <= WrapperBudget(head_length);
}

uint8_t EncodeReaderCrByte(const CrFlags& flags) {
  return TrackBits(flags) | (flags.capital_mode ? kReaderCapitalModeBit : 0);
}

CrFlags DecodeReaderCrByte(uint8_t value) {
  CrFlags flags = TrackFlags(value);
  flags.capital_mode = (value & kReaderCapitalModeBit) != 0;
  return flags;
}

uint8_t EncodeFileCrByte(const CrFlags& flags) {
  return TrackBits(flags) | (flags.capital_mode ? kFileCapitalModeBit : 0);
}

CrFlags DecodeFileCrByte(uint8_t value) {
  CrFlags flags = TrackFlags(value);
  flags.capital_mode = (value & kFileCapitalModeBit) != 0;
  return flags;
}

uint8_t ReaderCrToFileCr(uint8_t reader_byte) {
  return EncodeFileCrByte(DecodeReaderCrByte(reader_byte));
}

uint8_t FileCrToReaderCr(uint8_t file_byte) {
  return EncodeReaderCrByte(DecodeFileCrByte(file_byte));
}

uint8_t CustomTableCodeForIndex(uint8_t index) {
  return index <= 0x0F ? index : static_cast<uint8_t>(index + 0x10);
}

}  // namespace pelgar::config
