#include "cli/ReaderJob.h"

#include "config/ConfigurationRecord.h"
#include "config/FixedText.h"
#include "device/PortText.h"

namespace pelgar::cli {
namespace {

const char* SwitchName(const StoredSettings& stored) {
  if (stored.wedge_position) return "wedge";
  if (stored.serial_position) return "serial";
  return "none";
}

// What the device layer is given as the port id: a COMn name's number, as pelgar gives it
// (its messages then read alike); a device path whole, for the messages only, since the
// world's ports open the reader's device whatever they are asked.
std::string PortIdFor(const std::string& port) {
  if (port.starts_with("COM")) return std::string(device::PortIdOf(port));
  return port;
}

}  // namespace

ReaderJob::ReaderJob(const ReaderTarget& target, ReaderWorld& world, int32_t baud,
                     ReaderStatus& status)
    : target_(target),
      world_(world),
      baud_(baud),
      status_(status),
      env_{world.ports(), world.clock(), out_, err_} {
  report_.port = target.port;
  report_.device = target.device;
}

std::unique_ptr<device::DeviceSession> ReaderJob::Claim() {
  status_.Step("claiming");
  device::ClaimFailure failure;
  std::unique_ptr<device::DeviceSession> session =
      device::ClaimReader(env_, PortIdFor(target_.port), baud_, &failure);
  if (session == nullptr) report_.Fail("not claimed: " + failure.Text());
  return session;
}

std::string ReaderJob::WithCause(const std::string& failure) const {
  const std::string cause = LastDiagnostic();
  return cause.empty() ? failure : failure + ": " + cause;
}

std::string ReaderJob::LastDiagnostic() const {
  // A session that goes away says whether it could restore functional mode; the cause of
  // a failure is what came before that.
  constexpr std::string_view kRestoreFailed = "Error restoring functional mode.";
  std::istringstream lines(err_.str());
  std::string last;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line != kRestoreFailed) last = line;
  }
  return last;
}

config::ConfigurationRecord RecordOf(const device::DeviceSession& session) {
  config::ConfigurationRecord record;
  record.carriage_return = device::IsOn(session.carriage_return);
  record.raw_data_mode = device::IsOn(session.raw_data_mode);
  record.track1_enabled = device::IsOn(session.track1_enabled);
  record.track2_enabled = device::IsOn(session.track2_enabled);
  record.track3_enabled = device::IsOn(session.track3_enabled);
  record.strip_sentinels = device::IsOn(session.strip_sentinels);
  record.custom_configuration = device::IsOn(session.custom_configuration);
  record.hide_error_tracks = device::IsOn(session.hide_error_tracks);
  record.sentinels = session.sentinels;
  return record;
}

void PutRecord(device::DeviceSession& session, const config::ConfigurationRecord& record) {
  session.carriage_return = device::ToFlag(record.carriage_return);
  session.raw_data_mode = device::ToFlag(record.raw_data_mode);
  session.track1_enabled = device::ToFlag(record.track1_enabled);
  session.track2_enabled = device::ToFlag(record.track2_enabled);
  session.track3_enabled = device::ToFlag(record.track3_enabled);
  session.strip_sentinels = device::ToFlag(record.strip_sentinels);
  session.custom_configuration = device::ToFlag(record.custom_configuration);
  session.hide_error_tracks = device::ToFlag(record.hide_error_tracks);
  session.sentinels = record.sentinels;
}

bool ReaderJob::Read(device::DeviceSession& session, bool enhanced, StoredSettings* stored) {
  stored->record = RecordOf(session);
  stored->wedge_position = device::IsOn(session.wedge_position);
  stored->serial_position = device::IsOn(session.serial_position);
  stored->revision = config::FieldText(session.revision);
  const bool capable = config::SupportsEnhancedSettings(stored->revision);
  report_.data["revision"] = stored->revision;
  report_.data["switch"] = SwitchName(*stored);
  report_.data["enhanced"] = capable;
  if (!enhanced || !capable) return true;

  status_.Step("reading enhanced settings");
  session.head_text.fill('\0');
  session.tail_text.fill('\0');
  if (!session.GetDataWrapper() || !session.GetIndividualCR() || !session.GetWedgeMode()) {
    report_.Fail(WithCause("the enhanced settings could not be read"));
    return false;
  }
  stored->has_enhanced = true;
  stored->head = config::FieldText(session.head_text);
  stored->tail = config::FieldText(session.tail_text);
  stored->cr = {device::IsOn(session.individual_cr[0]), device::IsOn(session.individual_cr[1]),
                device::IsOn(session.individual_cr[2]), device::IsOn(session.individual_cr[3])};
  stored->language = session.wedge_language;
  return true;
}

}  // namespace pelgar::cli
