#include "firmware/HexReader.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <ostream>

#include "device/CommandFrame.h"
#include "firmware/HexText.h"

namespace pelgar::firmware {
namespace {

// Characters of a record around its data: colon, length, address, type, checksum.
constexpr size_t kRecordFrameLength = 11;
constexpr size_t kDataStart = 9;
// A record is read only when it fits in one piece of a line, which bounds its data below
// what RecordData holds whatever its length field claims.
static_assert((HexReader::kLineBufferSize - 1 - kRecordFrameLength) / 2 <=
              HexReader::kMaxRecordData);

std::string Hex2(uint8_t value) { return device::HexByte(value, device::HexCase::kCapital); }

}  // namespace

std::string_view HexStatusText(HexStatus status) {
  switch (status) {
    case HexStatus::kData:
      return "";
    case HexStatus::kEndOfFile:
      return "End of file";
    case HexStatus::kInvalidFormat:
      return "Invalid hex file format";
    case HexStatus::kChecksumError:
      return "Checksum Error";
  }
  return "";
}

std::optional<std::string> HexReader::ReadLine() {
  for (;;) {
    std::string piece;
    piece_line_ = next_line_;
    bool ended_line = false;
    while (piece.size() < kLineBufferSize - 1) {
      int c = in_.get();
      if (c == std::char_traits<char>::eof()) break;
      // Firmware files come from the platform that writes CR LF; read them as text.
      if (c == '\r' && in_.peek() == '\n') c = in_.get();
      piece.push_back(static_cast<char>(c));
      if (c == '\n') {
        ended_line = true;
        break;
      }
    }
    if (piece.empty()) return std::nullopt;  // end of file or a read error
    if (ended_line) ++next_line_;
    // The line is a zero-terminated string: a stray NUL ends it.
    if (size_t nul = piece.find('\0'); nul != std::string::npos) piece.resize(nul);
    if (!piece.empty() && piece.back() == '\n') piece.pop_back();
    while (!piece.empty() && piece.back() == ' ') piece.pop_back();
    size_t first = piece.find_first_not_of(' ');
    if (first == std::string::npos) continue;  // blank lines are skipped
    piece.erase(0, first);
    return piece;
  }
}

HexStatus HexReader::ReadRecord(uint16_t& load_address, uint8_t& record_length, RecordData& data) {
  load_address = 0;
  record_length = 0;
  problem_.clear();
  std::optional<std::string> line = ReadLine();
  if (!line) return HexStatus::kEndOfFile;
  const std::string& text = *line;
  if (text[0] != ':') return Fail(HexStatus::kInvalidFormat, "the line does not begin with ':'");

  const uint8_t length = HexPair(text, 1);
  const uint16_t address = HexQuad(text, 3);
  if (HexPair(text, 7) != 0) return HexStatus::kEndOfFile;

  // Never read past the line: a record cut short (or a line longer than a piece, whose
  // first piece is cut) cannot be trusted, whatever its digits would add up to.
  const size_t needed = kRecordFrameLength + 2 * static_cast<size_t>(length);
  if (text.size() < needed) {
    return Fail(HexStatus::kInvalidFormat,
                "the record length " + Hex2(length) + " needs " + std::to_string(needed) +
                    " characters, the line holds " + std::to_string(text.size()));
  }
  unsigned sum = length + (address >> 8) + (address & 0xFF);
  for (size_t i = 0; i < length; ++i) {
    data[i] = HexPair(text, kDataStart + 2 * i);
    sum += data[i];
  }
  const auto expected = static_cast<uint8_t>(0x100 - (sum & 0xFF));
  const uint8_t checksum = HexPair(text, kDataStart + 2 * static_cast<size_t>(length));
  if (checksum != expected) {
    return Fail(HexStatus::kChecksumError,
                "the checksum is " + Hex2(checksum) + ", the record adds up to " + Hex2(expected));
  }
  load_address = address;
  record_length = length;
  return HexStatus::kData;
}

HexStatus HexReader::Fail(HexStatus status, std::string problem) {
  problem_ = std::move(problem);
  return status;
}

bool LoadFirmwareImage(HexReader& reader, FirmwareImage& image, std::ostream& err,
                       std::string_view source) {
  auto report = [&](HexStatus status, std::string_view what) {
    err << HexStatusText(status) << " at line " << reader.line_number() << " of " << source << ": "
        << what << std::endl;
  };
  uint16_t address = 0;
  uint8_t length = 0;
  HexReader::RecordData data{};
  HexStatus status;
  while ((status = reader.ReadRecord(address, length, data)) == HexStatus::kData) {
    const size_t end = static_cast<size_t>(address) + length;
    if (end > kImageSize) {
      char where[80];
      std::snprintf(where, sizeof where,
                    "the data at %04X to %04zX runs past the last address %04zX",
                    static_cast<unsigned>(address), end - 1, kLastAddress);
      report(HexStatus::kInvalidFormat, where);
      return false;
    }
    std::copy_n(data.begin(), length, image.begin() + address);
  }
  if (status != HexStatus::kEndOfFile) {
    report(status, reader.problem());
    return false;
  }
  return true;
}

}  // namespace pelgar::firmware
