#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace pelgar::firmware {

// How one firmware family's ISP ROM is spoken to. The sequence is the same for every
// family; only these frames and habits differ.
struct IspDialect {
  // The fifth character of the revision text: "REV 2.30" is family 2.
  int family;
  // The rate the ROM talks at once the reader has switched to ISP mode.
  int32_t baud;
  // Answered frames the ROM wants after every synchronisation.
  std::span<const std::string_view> setup;
  // Answered frames that set the IPL option, sent exactly as written. With them the user
  // power-cycles the reader and the setup frames follow again (the first 100 ms apart from
  // the rest), so a dialect with IPL frames has setup frames. Without them the reader boots
  // from the low region, which must therefore hold code.
  std::span<const std::string_view> ipl_option;
  // Acknowledged erase of all program memory.
  std::string_view erase_all;
  // Acknowledged erase of the high region alone, for an image with code only there; empty
  // when such an image cannot be flashed.
  std::string_view erase_high;
  // An image with no code in the high region is erased page by page over its range
  // instead of with erase_all.
  bool erase_low_by_pages;
  // The ROM takes every data record twice; the second reply is the one that counts.
  bool record_twice;
  // A data record left unanswered is sent once more, though the line has failed anyway.
  bool resend_silent_record;
};

// The dialect of a firmware family, or nullptr for a family this program cannot flash.
const IspDialect* IspDialectOf(int family);

}  // namespace pelgar::firmware
