#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelgar::device {

// Frames built at run time keep the letter case of their format: some fields are written
// "%02x", others "%02X", and the reader is sent both.
enum class HexCase { kSmall, kCapital };

std::string HexByte(uint8_t value, HexCase letters);
// Each character as two hex digits of its unsigned byte value.
std::string HexText(std::string_view bytes, HexCase letters);

// Two's complement of the 8-bit sum of the hex pairs of `frame` (a leading ':' is skipped):
// the checksum that completes a frame whose fields are all in place.
uint8_t FrameChecksum(std::string_view frame);
// `frame` followed by its checksum.
std::string WithChecksum(std::string_view frame, HexCase letters);

// The value of the leading hexadecimal digits (either case) among the `digits` characters
// at `position`: reading stops at the first other character or at the end of the text, and
// no digit reads 0. No blank, sign or "0x" is skipped. Replies and firmware records are
// both read this way, so the session and the updater cannot read one reply differently.
unsigned LeadingHexValue(std::string_view text, size_t position, size_t digits);

// Reply text as the reader's C string: up to the first zero of the buffer.
std::string_view ReplyText(std::span<const char> reply);
// The two reply characters at `position` read with LeadingHexValue: " 1", "-1" and "+1"
// read 0, "1G" reads 1. Positions past the end of the reply read as its terminating zero.
uint8_t ReplyByte(std::span<const char> reply, size_t position);
// The reply character at `position`, or 0 past the end of the reply.
char ReplyChar(std::span<const char> reply, size_t position);

}  // namespace pelgar::device
