#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelgar::config {

// A wrapper edit box holds at most this many characters; the windows decode into buffers
// of kWrapperTextSize bytes, which hold every decoding of such a box with room to spare.
inline constexpr size_t kWrapperBoxChars = 58;
inline constexpr size_t kWrapperTextSize = 60;

// Decodes a wrapper box's text ("\ddd" with ddd from 032 to 127 for one character, "\\"
// for a backslash, 0x20..0x7F as typed) into `wrapper`, which the caller has cleared; no
// terminating zero is written, and the last byte of `wrapper` is never written so that the
// caller's zero stays. `extra_count` gets how many more characters the box holds than the
// decoded text. Only the first kWrapperBoxChars characters of `box` are read. False when
// the text is refused (or would not fit); what was decoded before stays in `wrapper`, and
// `refused_at`, when given, gets the position of the character or of the escape's
// backslash that was refused. An escape left unfinished at the end is dropped, not refused.
bool DecodeWrapperText(std::string_view box, std::span<char> wrapper, int32_t& extra_count,
                       size_t* refused_at = nullptr);

// The escaped form in which a wrapper is shown and saved: a backslash as two backslashes,
// a byte below 0x1F or from 0x80 on as a backslash and three decimal digits, anything else
// as itself. The wrapper ends at its first zero byte.
std::string FormatWrapperText(std::string_view wrapper);

}  // namespace pelgar::config
