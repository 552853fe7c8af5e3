// The readers' side of info, get, apply, verify, send and table: each claims the reader in
// sessions of its own, as the window's actions do, and fills the job's report.
#include <cstdio>

#include "cli/ReaderJob.h"
#include "config/ConfigurationRecord.h"
#include "config/FixedText.h"
#include "config/WrapperText.h"
#include "platform/ReplacingFile.h"

namespace pelgar::cli {
namespace {

constexpr int kStoreToFlash = 1;

// Reads the reader and its enhanced settings in one session.
bool ReadReader(ReaderJob& job, StoredSettings* stored) {
  auto session = job.Claim();
  if (!session) return false;
  job.status().Step("reading");
  return job.Read(*session, true, stored);
}

// Set Config's frames: the record, then the commit even when the record failed, since the
// commit stores whatever the reader holds.
void SendRecord(ReaderJob& job, const config::ConfigurationRecord& record) {
  auto session = job.Claim();
  if (!session) return;
  job.status().Step("storing the configuration");
  PutRecord(*session, record);
  const bool set = session->SetConfiguration(kStoreToFlash);
  const bool committed = session->CommitConfiguration();
  if (!set || !committed) job.report().Fail(job.WithCause("the configuration was not stored"));
}

// The enhanced Set's frames: wrappers, carriage returns, and in the wedge position the
// language. Each goes out whether or not the one before was taken.
void SendEnhanced(ReaderJob& job, const EnhancedPlan& plan) {
  auto session = job.Claim();
  if (!session) return;
  job.status().Step("storing the enhanced settings");
  const bool wedge = device::IsOn(session->wedge_position);
  config::AssignField(session->head_text, plan.head);
  config::AssignField(session->tail_text, plan.tail);
  bool stored = session->SetDataWrapper();
  session->individual_cr = {device::ToFlag(plan.cr.track1), device::ToFlag(plan.cr.track2),
                            device::ToFlag(plan.cr.track3),
                            device::ToFlag(plan.cr.capital_mode && wedge)};
  stored = session->SetIndividualCR() && stored;
  if (wedge && plan.language) {
    session->wedge_language = *plan.language;
    stored = session->SetWedgeMode() && stored;
  }
  if (!stored) job.report().Fail(job.WithCause("the enhanced settings were not all stored"));
}

void Verify(ReaderJob& job, const ConfigurationPlan& plan) {
  StoredSettings stored;
  if (!ReadReader(job, &stored)) return;
  ReaderReport& report = job.report();
  report.differences = Compare(plan, stored);
  if (!report.differences.empty()) report.outcome = Outcome::kDifferent;
}

}  // namespace

void RunInfo(ReaderJob& job) {
  auto session = job.Claim();
  if (!session) return;
  StoredSettings stored;
  job.Read(*session, false, &stored);
  nlohmann::ordered_json& data = job.report().data;
  job.report().summary = stored.revision + ", switch " + data["switch"].get<std::string>() +
                         (data["enhanced"].get<bool>() ? ", enhanced settings" : "");
}

void RunProbe(ReaderJob& job) {
  // One attempt: a port without a reader need not be asked ten times.
  std::ostringstream out;
  device::DeviceEnvironment env{job.world().ports(), job.world().clock(), out, job.diagnostics()};
  device::DeviceSession session(env, job.target().port, job.baud());
  if (device::IsOn(session.claimed)) {
    job.report().data["reader"] = config::FieldText(session.revision);
  } else {
    job.report().data["reader"] = nullptr;
  }
}

void RunGet(ReaderJob& job, const std::string& output_path) {
  StoredSettings stored;
  if (!ReadReader(job, &stored)) return;
  ReaderReport& report = job.report();
  const std::string file = ConfigurationFileOf(stored);
  if (output_path.empty()) {
    report.document = file;
    report.data["configuration"] = file;
    return;
  }
  platform::ReplacingFile out;
  if (!out.Open(output_path) || !out.Write(file) || !out.Commit()) {
    report.Fail("cannot write " + output_path + ": " + out.error());
    return;
  }
  report.data["file"] = output_path;
  report.summary = "saved to " + output_path;
}

void RunApply(ReaderJob& job, const ConfigurationPlan& plan, bool verify) {
  // As pelgar's unattended run does: read the reader, store the record the loaded file
  // stands for, then the enhanced settings, each in a session of its own.
  StoredSettings before;
  {
    auto session = job.Claim();
    if (!session) return;
    if (!job.Read(*session, false, &before)) return;
  }
  SendRecord(job, RecordToSend(plan, before));
  if (job.report().failed()) return;
  if (plan.enhanced && config::SupportsEnhancedSettings(before.revision)) {
    SendEnhanced(job, *plan.enhanced);
  }
  if (job.report().failed()) return;
  job.report().data["verified"] = verify;
  if (verify) Verify(job, plan);
  job.report().summary = verify ? "applied and verified" : "applied";
}

void RunVerify(ReaderJob& job, const ConfigurationPlan& plan) {
  Verify(job, plan);
  job.report().summary = "as the file says";
}

void RunSend(ReaderJob& job, const std::string& frame) {
  auto session = job.Claim();
  if (!session) return;
  job.status().Step("sending");
  std::array<char, device::kReplySize> reply{};
  const bool answered = session->ExchangeRaw(frame, reply);
  const std::string text(reply.data());
  ReaderReport& report = job.report();
  report.data["frame"] = frame;
  report.data["reply"] = text;
  report.summary = text;
  // As pelgar /C: judges a reply: none at all, or one that says "Error", is a failure.
  if (!answered) report.Fail("no reply to " + frame);
  if (text.find("Error") != std::string::npos) report.Fail("the reply says Error: " + text);
}

void RunTableSet(ReaderJob& job, const std::string& codes, const std::string& replacements) {
  auto session = job.Claim();
  if (!session) return;
  job.status().Step("setting the custom table");
  config::AssignField(session->default_codes, codes);
  config::AssignField(session->replacements, replacements);
  if (!session->SetCustomWedgeTable()) {
    job.report().Fail(job.WithCause("the custom table was not set"));
    return;
  }
  job.report().data["entries"] = codes.size();
  job.report().summary = std::to_string(codes.size()) + " entries set";
}

void RunTableReset(ReaderJob& job) {
  auto session = job.Claim();
  if (!session) return;
  constexpr int kEntries = config::kResetLastIndex - config::kResetFirstIndex + 1;
  int failed = 0;
  for (int index = config::kResetFirstIndex; index <= config::kResetLastIndex; ++index) {
    job.status().Percent((index - config::kResetFirstIndex) * 100 / kEntries);
    session->custom_count = static_cast<uint8_t>(index);
    if (!session->ResetCustomWedgeEntry()) ++failed;
  }
  if (failed != 0) {
    job.report().Fail(job.WithCause(std::to_string(failed) + " of " + std::to_string(kEntries) +
                                    " entries were not reset"));
    return;
  }
  job.report().summary = "custom table reset";
}

}  // namespace pelgar::cli
