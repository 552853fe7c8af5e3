#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "device/SerialLink.h"

namespace pelgar::device {

// Reply buffers hold 99 characters and a terminating zero.
inline constexpr size_t kReplySize = 100;
// The commit waits this many single-byte reads for a late acknowledgement.
inline constexpr int kCommitAcknowledgeAttempts = 60000;

// Writes `frame` (its characters only) and collects the reply one byte at a time until a
// read sees 500 ms of silence. The reply is stored zero-terminated; characters beyond what
// the buffer holds are read and dropped, so a chattering reader still ends the reply at
// its silence and nothing is stored past the buffer. True when the write succeeded and at
// least one byte arrived.
// `last_received`, when given, gets the last character the reader sent, even when it was
// dropped for want of room: the commit is judged by it.
bool Exchange(SerialLink& link, std::string_view frame, std::span<char> reply,
              char* last_received = nullptr);

// Reads single bytes until "." arrives or `attempts` reads have passed (1 ms pause after
// each miss), then drains the line until silence. A vanished device ends the wait at once.
bool WaitForAcknowledge(SerialLink& link, int attempts);

// The position rule: the reply character at `position` is ".".
bool AcknowledgedAt(std::span<const char> reply, size_t position);

}  // namespace pelgar::device
