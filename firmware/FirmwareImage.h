#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pelgar::firmware {

// The reader's program memory, addresses 0x0000 to 0x3FFF. A byte still at 0xFF after a
// load counts as "no code": a file that writes 0xFF explicitly is the same as one that
// leaves the byte out.
inline constexpr size_t kImageSize = 0x4000;
inline constexpr size_t kLastAddress = kImageSize - 1;
inline constexpr uint8_t kNoCode = 0xFF;

using FirmwareImage = std::array<uint8_t, kImageSize>;

}  // namespace pelgar::firmware
