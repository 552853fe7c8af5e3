#include "device/DeviceSession.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "config/ConfigurationRecord.h"
#include "device/CommandFrame.h"
#include "device/PortText.h"
#include "device/ReaderFrames.h"

namespace pelgar::device {
namespace {

constexpr std::string_view kQuerySlideSwitch = ":0100001118D6";
constexpr std::string_view kCommitConfiguration = ":0100001109E5";

// Where the reader puts what we read back: the acknowledgement follows the echoed frame,
// the values sit at fixed positions of the reply record after it.
constexpr size_t kOptionBytePosition = 27;
constexpr size_t kFirstSentinelPosition = 29;
constexpr size_t kSlideSwitchPosition = 26;
constexpr std::string_view kSerialSwitchText = "800";
constexpr std::string_view kWedgeSwitchText = "801";

constexpr uint8_t kStoreToFlash = 0x01;
constexpr uint8_t kStoreToTemporaryMemory = 0x00;

}  // namespace

DeviceSession::DeviceSession(DeviceEnvironment& env, std::string_view port_id, int32_t baud)
    : env_(env),
      link_(env.ports, env.clock),
      port_name_("COM" + std::string(port_id.substr(0, SerialLink::kMaxPortIdLength))) {
  claimed = 0;
  if (!link_.Open(port_id, baud)) {
    start_failure_ = link_.OpenFailure().detail;
    port_missing_ = link_.OpenFailure().status == platform::OpenStatus::kNotFound;
  } else {
    env_.out << "Entering command mode...\n" << std::flush;
    ReplyBuffer reply;
    if (!Send(kEnterCommandMode, reply)) {
      Report("Failed to enter command mode.");
      link_.Close();
    } else {
      claimed = 1;
      claimed = ToFlag(ReadConfiguration());
    }
  }
  starting_ = false;
}

DeviceSession::~DeviceSession() {
  // A port that never opened, or that was let go when command mode failed, has no reader
  // in command mode behind it: there is nothing to restore and nothing to report.
  if (link_.IsOpen()) {
    ReplyBuffer reply;
    if (!Send(kRestoreFunctionalMode, reply)) Report("Error restoring functional mode.");
  }
  link_.Close();
  claimed = 0;
}

void DeviceSession::Report(std::string_view line) {
  // While the session starts, a failure is the claim's to report: once, for all attempts.
  if (starting_) {
    start_failure_ = port_name_ + ": " + std::string(line);
    return;
  }
  env_.err << line << '\n' << std::flush;
}

bool DeviceSession::Send(std::string_view frame, ReplyBuffer& reply) {
  reply.fill('\0');
  return Exchange(link_, frame, reply);
}

void DeviceSession::ReportNotSent(std::string_view command) {
  Report("Failed to send " + std::string(command) + ".");
}

bool DeviceSession::SendSetting(std::string_view frame, std::string_view command,
                                size_t acknowledged_at) {
  ReplyBuffer reply;
  if (!Send(frame, reply)) {
    ReportNotSent(command);
    return false;
  }
  if (!AcknowledgedAt(reply, acknowledged_at)) {
    Report(std::string(command) + " did not apply properly.");
    return false;
  }
  return true;
}

bool DeviceSession::ReadConfiguration() {
  if (claimed != 1) {
    Report("MSR not claimed! Exiting...");
    return false;
  }
  ReplyBuffer reply;
  if (!Send(kGetConfiguration, reply)) {
    Report("Error querying MSR configuration.");
    return false;
  }
  if (!AcknowledgedAt(reply, kGetConfiguration.size())) {
    Report("Error validating MSR_GET_CONFIGURATION response.");
    return false;
  }
  config::ConfigurationRecord record;
  config::DecodeOptionByte(ReplyByte(reply, kOptionBytePosition), record);
  carriage_return = ToFlag(record.carriage_return);
  raw_data_mode = ToFlag(record.raw_data_mode);
  track1_enabled = ToFlag(record.track1_enabled);
  track2_enabled = ToFlag(record.track2_enabled);
  track3_enabled = ToFlag(record.track3_enabled);
  strip_sentinels = ToFlag(record.strip_sentinels);
  custom_configuration = ToFlag(record.custom_configuration);
  hide_error_tracks = ToFlag(record.hide_error_tracks);
  for (size_t i = 0; i < sentinels.size(); ++i) {
    sentinels[i] = ReplyByte(reply, kFirstSentinelPosition + 2 * i);
  }
  for (size_t i = 0; i < kRevisionLength; ++i) {
    revision[i] = static_cast<char>(ReplyByte(reply, kRevisionReplyPosition + 2 * i));
  }
  revision[kRevisionLength] = '\0';

  if (!Send(kQuerySlideSwitch, reply)) {
    Report("Error querying MSR Slide Switch potision.");
    return false;
  }
  std::string position_text;
  for (size_t i = 0; i < kSerialSwitchText.size(); ++i) {
    position_text += ReplyChar(reply, kSlideSwitchPosition + i);
  }
  serial_position = ToFlag(position_text == kSerialSwitchText);
  wedge_position = ToFlag(position_text == kWedgeSwitchText);
  return true;
}

bool DeviceSession::SetConfiguration(int store_mode) {
  if (!IsClaimed()) return false;
  config::ConfigurationRecord record;
  record.carriage_return = IsOn(carriage_return);
  record.raw_data_mode = IsOn(raw_data_mode);
  record.track1_enabled = IsOn(track1_enabled);
  record.track2_enabled = IsOn(track2_enabled);
  record.track3_enabled = IsOn(track3_enabled);
  record.strip_sentinels = IsOn(strip_sentinels);
  record.custom_configuration = IsOn(custom_configuration);
  record.hide_error_tracks = IsOn(hide_error_tracks);

  uint8_t code = store_mode == 1 ? kStoreToFlash : kStoreToTemporaryMemory;
  std::string frame = ":06000011" + HexByte(code, HexCase::kCapital) +
                      HexByte(config::EncodeOptionByte(record), HexCase::kSmall);
  for (uint8_t sentinel : sentinels) frame += HexByte(sentinel, HexCase::kSmall);
  frame = WithChecksum(frame, HexCase::kSmall);

  return SendSetting(frame, "MSR_SET_CONFIGURATION", frame.size());
}

bool DeviceSession::CommitConfiguration() {
  if (!IsClaimed()) return false;
  ReplyBuffer reply;
  reply.fill('\0');
  // Judged by the last character the reader sent, not the last one the buffer kept: an
  // overlong reply that ends in "." must not start a wait of hours for a second one.
  char last = '\0';
  if (!Exchange(link_, kCommitConfiguration, reply, &last)) {
    ReportNotSent("MSR_COMMIT_CONFIGURATION");
    return false;
  }
  if (last == '.') return true;
  // Writing flash can take the reader a while: its "." may follow the reply.
  return WaitForAcknowledge(link_, kCommitAcknowledgeAttempts);
}

bool DeviceSession::ExchangeRaw(std::string_view frame, std::span<char> reply) {
  std::fill(reply.begin(), reply.end(), '\0');
  if (!IsClaimed()) return false;
  return Exchange(link_, frame, reply);
}

std::string ClaimFailure::Text() const {
  if (attempts <= 1) return cause;
  std::string_view text = cause;
  if (text.ends_with('.')) text.remove_suffix(1);
  return std::string(text) + "; tried " + std::to_string(attempts) + " times";
}

std::unique_ptr<DeviceSession> ClaimReader(DeviceEnvironment& env, std::string_view port_id,
                                           int32_t baud, ClaimFailure* failure) {
  ClaimFailure last;
  for (int attempt = 1; attempt <= kClaimAttempts; ++attempt) {
    auto session = std::make_unique<DeviceSession>(env, port_id, baud);
    if (session->claimed != 0) return session;
    last = {session->start_failure(), attempt, session->port_missing()};
    session.reset();
    // No later attempt can open a link at a rate no reader talks at.
    if (!IsReaderBaudRate(baud)) break;
    env.clock.SleepMs(kClaimPauseMs);
  }
  env.err << "MSR not claimed: " << last.Text() << '\n' << std::flush;
  if (failure != nullptr) *failure = std::move(last);
  return nullptr;
}

}  // namespace pelgar::device
