#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "cli/ConfigurationPlan.h"
#include "cli/ReaderReport.h"
#include "cli/ReaderWorld.h"
#include "device/DeviceSession.h"

namespace pelgar::cli {

// One reader's part of a command, on the reader's own world and thread: its sessions, the
// device layer's diagnostics (kept, and the last one given as the cause of a failure), where
// it is for the display, and its report.
class ReaderJob {
 public:
  ReaderJob(const ReaderTarget& target, ReaderWorld& world, int32_t baud, ReaderStatus& status);

  // Claims the reader (the device layer's 10 attempts); a failure goes into the report.
  std::unique_ptr<device::DeviceSession> Claim();
  // The reader's record and switch as the session read them; its enhanced settings too when
  // `enhanced` and the reader knows them. False, reported, when a query failed.
  bool Read(device::DeviceSession& session, bool enhanced, StoredSettings* stored);
  // The last diagnostic line of the device layer, for a failure's cause.
  std::string LastDiagnostic() const;
  // `failure`, followed by that line when there is one.
  std::string WithCause(const std::string& failure) const;

  const ReaderTarget& target() const { return target_; }
  ReaderWorld& world() { return world_; }
  int32_t baud() const { return baud_; }
  ReaderStatus& status() { return status_; }
  ReaderReport& report() { return report_; }
  std::ostream& diagnostics() { return err_; }

 private:
  ReaderTarget target_;
  ReaderWorld& world_;
  int32_t baud_;
  ReaderStatus& status_;
  ReaderReport report_;
  std::ostringstream out_;
  std::ostringstream err_;
  device::DeviceEnvironment env_;
};

// The configuration record in a session's fields, and back.
config::ConfigurationRecord RecordOf(const device::DeviceSession& session);
void PutRecord(device::DeviceSession& session, const config::ConfigurationRecord& record);

// The readers' side of each command but flash (FlashJob.h).
void RunInfo(ReaderJob& job);
void RunProbe(ReaderJob& job);
void RunGet(ReaderJob& job, const std::string& output_path);
void RunApply(ReaderJob& job, const ConfigurationPlan& plan, bool verify);
void RunVerify(ReaderJob& job, const ConfigurationPlan& plan);
void RunSend(ReaderJob& job, const std::string& frame);
void RunTableSet(ReaderJob& job, const std::string& codes, const std::string& replacements);
void RunTableReset(ReaderJob& job);

}  // namespace pelgar::cli
