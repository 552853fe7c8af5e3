#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace pelgar::device {

// A wrapper edit box holds at most this many characters; the windows decode into buffers
// of kWrapperTextSize bytes, which hold every decoding of such a box with room to spare.
inline constexpr size_t kWrapperBoxChars = 58;
inline constexpr size_t kWrapperTextSize = 60;

// Shown when a box's text cannot be decoded.
inline constexpr std::string_view kWrapperEscapeHelp =
    "Please make sure the input of NON-TEXT characters and back-slash are following below "
    "format:\nNON-TEXT format: \"\\ddd\"\nBack-slash format: \"\\\\\"\n - \"\\ddd\" or "
    "\"\\\\\" is considered as 1 character\n - \"ddd\" MUST in decimal, range of 032 to "
    "127\n\nExample 1:\nABC\\035EF\nMeans: ABC + # + EF\n\nExample 2:\nABC\\\\EF\nMeans: "
    "ABC\\EF";

// Decodes a wrapper box's text ("\ddd" with ddd from 032 to 127 for one character, "\\"
// for a backslash, 0x20..0x7F as typed) into `wrapper`, which the caller has cleared; no
// terminating zero is written, and the last byte of `wrapper` is never written so that the
// caller's zero stays. `extra_count` gets how many more characters the box holds than the
// decoded text. Only the first kWrapperBoxChars characters of `box` are read. False when
// the text is refused (or would not fit); what was decoded before stays in `wrapper`. An
// escape left unfinished at the end is dropped, not refused.
bool DecodeWrapperText(std::string_view box, std::span<char> wrapper, int32_t& extra_count);

}  // namespace pelgar::device
