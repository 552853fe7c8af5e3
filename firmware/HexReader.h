#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "firmware/FirmwareImage.h"

namespace pelgar::firmware {

// Outcome of reading one record. The numbers are those of the firmware file format's
// reader status and are kept as they are.
enum class HexStatus : uint8_t {
  kData = 0,           // a data record was read
  kEndOfFile = 1,      // no further line, or a record whose type is not 00
  kInvalidFormat = 2,  // the line does not begin with ':' (or is shorter than its record)
  kChecksumError = 3,  // the record's checksum does not match
};

// "End of file", "Invalid hex file format", "Checksum Error", or "" for a data record.
std::string_view HexStatusText(HexStatus status);

// Reads Intel HEX data records with 16-bit load addresses from a text stream. The first
// record of any other type ends the file. Pure: it touches nothing but the stream, so it
// can be fed any bytes. Lines are read in pieces of at most 99 characters, CR LF counts as
// one line end, and only spaces are trimmed.
class HexReader {
 public:
  // A line is read into a 100-character buffer: 99 characters and a terminator.
  static constexpr size_t kLineBufferSize = 100;
  // One record's data goes into a 100-byte buffer.
  static constexpr size_t kMaxRecordData = 100;
  using RecordData = std::array<uint8_t, kMaxRecordData>;

  explicit HexReader(std::istream& in) : in_(in) {}

  HexStatus ReadRecord(uint16_t& load_address, uint8_t& record_length, RecordData& data);

  // The line (counting from 1) of the last piece read.
  int line_number() const { return piece_line_; }
  // What was wrong with the last record that failed, for standard error.
  const std::string& problem() const { return problem_; }

 private:
  // The next trimmed, non-empty piece of a line; nothing at the end of the file or on a
  // read error.
  std::optional<std::string> ReadLine();
  HexStatus Fail(HexStatus status, std::string problem);

  std::istream& in_;
  int next_line_ = 1;
  int piece_line_ = 0;
  std::string problem_;
};

// Reads every data record into `image` (which the caller has set to 0xFF). True when the
// file ended normally, with or without an end-of-file record. A bad line makes it false
// and writes "<status text> at line <n> of <source>: <what>" to `err`; the records before
// it stay in the image. A record that would store past 0x3FFF refuses the whole file:
// programming what fits would leave the reader with part of a firmware meant for a larger
// device.
bool LoadFirmwareImage(HexReader& reader, FirmwareImage& image, std::ostream& err,
                       std::string_view source = "the firmware file");

}  // namespace pelgar::firmware
