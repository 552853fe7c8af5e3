// The wrapper escapes both ways: a box's text decoded and its decoding shown again must
// decode to the same bytes, and bytes a box can hold must come back from their escaped form.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "config/WrapperText.h"

namespace {

using pelgar::config::DecodeWrapperText;
using pelgar::config::FormatWrapperText;
using pelgar::config::kWrapperBoxChars;
using pelgar::config::kWrapperTextSize;

// The decoding of `box`, or false when it is refused.
bool Decode(std::string_view box, std::string& bytes) {
  std::array<char, kWrapperTextSize> wrapper{};
  int32_t extra = 0;
  if (!DecodeWrapperText(box, wrapper, extra)) return false;
  bytes.assign(wrapper.data(), strnlen(wrapper.data(), wrapper.size()));
  // The box holds the decoded text and `extra` more characters, no fewer and no more.
  if (std::min(box.size(), kWrapperBoxChars) != bytes.size() + static_cast<size_t>(extra)) {
    __builtin_trap();
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string decoded;
  if (Decode(input, decoded)) {
    const std::string shown = FormatWrapperText(decoded);
    std::string again;
    // A text longer than the box is cut by it, so only one that fits must come back.
    if (shown.size() <= kWrapperBoxChars && (!Decode(shown, again) || again != decoded)) {
      __builtin_trap();
    }
  }
  // The other way: bytes as a reader may hold them, shown and typed back.
  const std::string bytes(input.substr(0, kWrapperTextSize - 1));
  const std::string shown = FormatWrapperText(bytes);
  std::string typed;
  const std::string wrapper = bytes.substr(0, strnlen(bytes.c_str(), bytes.size()));
  const bool typable = std::all_of(wrapper.begin(), wrapper.end(), [](char c) {
    return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) <= 0x7F;
  });
  if (typable && shown.size() <= kWrapperBoxChars && (!Decode(shown, typed) || typed != wrapper)) {
    __builtin_trap();
  }
  return 0;
}
