#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "firmware/FirmwareImage.h"

namespace pelgar::testing {

// Code in the low region (0x0000 onward) and/or at the top of the high region, never a line
// of 0xFF, and `revision` at 0x1FE0 when it is not empty.
inline firmware::FirmwareImage MakeImage(std::string_view revision, size_t low_bytes,
                                         size_t high_bytes, uint8_t seed = 1) {
  firmware::FirmwareImage image;
  image.fill(firmware::kNoCode);
  auto value = [seed](size_t i) { return static_cast<uint8_t>((i * 7 + seed) % 0xFF); };
  for (size_t i = 0; i < low_bytes; ++i) image[i] = value(i);
  for (size_t i = 0; i < high_bytes; ++i) image[image.size() - high_bytes + i] = value(i + 3);
  for (size_t i = 0; i < revision.size(); ++i) image[0x1FE0 + i] = revision[i];
  return image;
}

// The image as Intel HEX text with CR LF line ends: a record per line that holds code, an
// end record.
inline std::string ToHexText(const firmware::FirmwareImage& image) {
  std::string text;
  char pair[32];
  for (size_t line = 0; line < image.size(); line += 16) {
    bool code = false;
    for (size_t i = 0; i < 16; ++i) code = code || image[line + i] != firmware::kNoCode;
    if (!code) continue;
    std::snprintf(pair, sizeof pair, ":10%04zX00", line);
    text += pair;
    unsigned sum = 0x10 + (line >> 8) + (line & 0xFF);
    for (size_t i = 0; i < 16; ++i) {
      std::snprintf(pair, sizeof pair, "%02X", image[line + i]);
      text += pair;
      sum += image[line + i];
    }
    std::snprintf(pair, sizeof pair, "%02X\r\n", (0x100 - (sum & 0xFF)) & 0xFF);
    text += pair;
  }
  return text + ":00000001FF\r\n";
}

}  // namespace pelgar::testing
