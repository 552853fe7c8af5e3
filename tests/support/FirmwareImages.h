#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "firmware/FirmwareImage.h"

// Firmware images and the records that carry them, built here independently of the
// program's own HEX code so that a mistake there is not mirrored.
namespace pelgar::testing {

inline std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// ":" + `body` + the checksum that makes the record's bytes add up to zero.
inline std::string Record(const std::string& body) {
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < body.size(); i += 2) sum += std::stoul(body.substr(i, 2), nullptr, 16);
  return ":" + body + Hex((0x100 - (sum & 0xFF)) & 0xFF, 2);
}

inline std::string DataRecord(unsigned address, const uint8_t* data, size_t length) {
  std::string body = Hex(static_cast<unsigned>(length), 2) + Hex(address, 4) + "00";
  for (size_t i = 0; i < length; ++i) body += Hex(data[i], 2);
  return Record(body);
}

inline bool LineHasCode(const firmware::FirmwareImage& image, size_t line) {
  return std::any_of(&image[line], &image[line] + 16,
                     [](uint8_t b) { return b != firmware::kNoCode; });
}

// Code at the bottom of the low region and/or the top of the high region, never a line of
// 0xFF, and `revision` at 0x1FE0.
inline firmware::FirmwareImage MakeImage(std::string_view revision, size_t low_bytes,
                                         size_t high_bytes, uint8_t seed = 1) {
  firmware::FirmwareImage image;
  image.fill(firmware::kNoCode);
  auto value = [seed](size_t i) { return static_cast<uint8_t>((i * 7 + seed) % 0xFF); };
  for (size_t i = 0; i < low_bytes; ++i) image[i] = value(i);
  for (size_t i = 0; i < high_bytes; ++i) image[image.size() - high_bytes + i] = value(i + 3);
  std::copy(revision.begin(), revision.end(), &image[0x1FE0]);
  return image;
}

// The image as a HEX file with CR LF line ends: a record per line that holds code.
inline std::string ToHexText(const firmware::FirmwareImage& image) {
  std::string text;
  for (unsigned line = 0; line < image.size(); line += 16) {
    if (LineHasCode(image, line)) text += DataRecord(line, &image[line], 16) + "\r\n";
  }
  return text + ":00000001FF\r\n";
}

// The frames that program (`copies` times) and read back every line with code in
// [start, end).
inline std::vector<std::string> ProgramFrames(const firmware::FirmwareImage& image, size_t start,
                                              size_t end, int copies) {
  std::vector<std::string> frames;
  for (auto line = static_cast<unsigned>(start); line < end; line += 16) {
    if (!LineHasCode(image, line)) continue;
    frames.insert(frames.end(), static_cast<size_t>(copies), DataRecord(line, &image[line], 16));
    frames.push_back(Record("05000004" + Hex(line, 4) + Hex(line + 15, 4) + "00") + "U");
  }
  return frames;
}

}  // namespace pelgar::testing
