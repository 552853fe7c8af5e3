#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "device/Exchange.h"
#include "device/ReaderFrames.h"
#include "device/SerialLink.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace pelgar::device {

// The session's yes/no fields are bytes; only an exact 1 counts as on, whatever else a
// caller left in one.
constexpr uint8_t ToFlag(bool on) { return on ? 1 : 0; }
constexpr bool IsOn(uint8_t flag) { return flag == 1; }

// What a session needs from the outside world: ports, time and the two diagnostic streams
// ("Entering command mode..." goes to `out`, every other diagnostic line to `err`).
struct DeviceEnvironment {
  platform::PortFactory& ports;
  platform::Clock& clock;
  std::ostream& out;
  std::ostream& err;
};

// One user action's conversation with the reader. Construction opens the port, enters
// command mode and reads the configuration, revision and slide switch; `claimed` tells
// whether that worked. Destruction returns the reader to functional mode and closes the
// port. Callers read and write the fields directly around the operations.
class DeviceSession {
 public:
  DeviceSession(DeviceEnvironment& env, std::string_view port_id, int32_t baud);
  virtual ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  bool ReadConfiguration();
  // Store mode 1 stores to flash (code 01); any other value to temporary memory (code 00).
  bool SetConfiguration(int store_mode);
  bool CommitConfiguration();
  // One frame exactly as given (the unattended debug command): `Exchange` into `reply`,
  // cleared first, with no acknowledgement rule. False when not claimed.
  bool ExchangeRaw(std::string_view frame, std::span<char> reply);

  // Enhanced settings. Each returns false at once when the session is not claimed.
  // SetDataWrapper also counts head_length and tail_length and sets tail_empty.
  bool SetDataWrapper();
  // Head text, then tail text; a failed tail query leaves the new head in place.
  bool GetDataWrapper();
  bool GetIndividualCR();
  bool SetIndividualCR();
  bool GetWedgeMode();
  // Only languages 00, 01 and FF have a frame; any other sends nothing and fails.
  bool SetWedgeMode();
  // Sends the pairs of default_codes and replacements (custom_count gets their number).
  // Refused, with nothing sent, unless both hold the same number of characters, at most
  // nine: a frame whose length byte disagreed with its data would be corrupt.
  bool SetCustomWedgeTable();
  // Maps one table entry back to itself; custom_count holds the entry index.
  bool ResetCustomWedgeEntry();

  // Configuration options, each 0 or 1, in the order of the configuration record.
  uint8_t carriage_return = 0;
  uint8_t raw_data_mode = 0;
  uint8_t track1_enabled = 0;
  uint8_t track2_enabled = 0;
  uint8_t track3_enabled = 0;
  uint8_t strip_sentinels = 0;
  uint8_t custom_configuration = 0;
  uint8_t hide_error_tracks = 0;
  // Slide switch position from the slide-switch query.
  uint8_t wedge_position = 0;
  uint8_t serial_position = 0;
  // Track 1, 2, 3 start sentinels and the end sentinel.
  std::array<uint8_t, 4> sentinels{};

  // Enhanced settings. Texts are zero-terminated within their arrays.
  uint8_t head_length = 0;
  uint8_t tail_length = 0;
  std::array<char, 20> head_text{};
  std::array<char, 20> tail_text{};
  uint8_t tail_empty = 0;
  // Carriage return after track 1, 2, 3, and capital mode: reader CR byte bits 1 to 4.
  std::array<uint8_t, 4> individual_cr{};
  uint8_t wedge_language = 0;
  uint8_t custom_count = 0;
  std::array<char, 10> default_codes{};
  std::array<char, 10> replacements{};

  uint8_t claimed = 0;
  std::array<char, kRevisionLength + 1> revision{};  // e.g. "REV 2.30", zero-terminated

  // Why the session is not claimed, starting with the port name ("COM3: Failed to enter
  // command mode."); empty when it is. The start sequence writes no diagnostics of its own:
  // the claim reports the last attempt's failure once.
  const std::string& start_failure() const { return start_failure_; }
  // No device answers to the port name.
  bool port_missing() const { return port_missing_; }

 private:
  using ReplyBuffer = std::array<char, kReplySize>;

  bool IsClaimed() const { return claimed != 0; }
  // One diagnostic line on standard error: text, newline, flush.
  void Report(std::string_view line);
  // Exchange into a cleared reply buffer.
  bool Send(std::string_view frame, ReplyBuffer& reply);
  // "Failed to send <command>.": the exchange got no reply.
  void ReportNotSent(std::string_view command);
  // A setting sent and judged by its acknowledgement at `acknowledged_at`; a failure is
  // reported as not sent or as "<command> did not apply properly.".
  bool SendSetting(std::string_view frame, std::string_view command, size_t acknowledged_at);
  // One wrapper query into `text`; the diagnostics name the head or the tail.
  bool QueryWrapper(std::string_view frame, std::string_view name, std::array<char, 20>& text);

  DeviceEnvironment& env_;
  SerialLink link_;
  std::string port_name_;
  bool starting_ = true;
  std::string start_failure_;
  bool port_missing_ = false;
};

// Why the reader could not be claimed: the one account of it that the not-claimed message
// box and standard error both give.
struct ClaimFailure {
  std::string cause;  // why the last attempt failed, e.g. "COM5: /dev/ttyS4: no such device"
  int attempts = 0;
  bool port_missing = false;  // no device answers to the port name
  // The cause and, after more than one attempt, how many there were.
  std::string Text() const;
};

// Claiming the reader: up to 10 attempts, 500 ms apart, to create a claimed session.
// Returns the claimed session, or null when every attempt failed: then one line, "MSR not
// claimed: " and the failure's text, goes to standard error, `failure` (when given) gets
// the failure, and the caller shows the not-claimed message. A rate no reader talks at
// fails the first attempt, and no other is made.
inline constexpr int kClaimAttempts = 10;
inline constexpr int64_t kClaimPauseMs = 500;
std::unique_ptr<DeviceSession> ClaimReader(DeviceEnvironment& env, std::string_view port_id,
                                           int32_t baud, ClaimFailure* failure = nullptr);

}  // namespace pelgar::device
