#pragma once

#include <cstddef>
#include <string_view>

namespace pelgar::device {

// Frames that both a device session and the firmware updater send, kept in one place so
// that the two conversations cannot drift apart.
inline constexpr std::string_view kEnterCommandMode = ":0100001110DE";
inline constexpr std::string_view kRestoreFunctionalMode = ":0100001111DD";
inline constexpr std::string_view kGetConfiguration = ":020000110200EB";

// The configuration reply carries the revision text as hex pairs from this position on.
inline constexpr size_t kRevisionReplyPosition = 37;
inline constexpr size_t kRevisionLength = 8;

}  // namespace pelgar::device
