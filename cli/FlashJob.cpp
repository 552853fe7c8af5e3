#include "cli/FlashJob.h"

#include <fstream>
#include <istream>
#include <sstream>

#include "firmware/HexReader.h"
#include "firmware/IspSequence.h"
#include "firmware/RevisionCheck.h"
#include "firmware/UpdaterLink.h"
#include "platform/Files.h"

namespace pelgar::cli {
namespace {

// What the ISP sequence reports goes to the reader's status and report.
class FlashOutput : public firmware::PlainMessages, public firmware::UpdateProgress {
 public:
  FlashOutput(ReaderStatus& status, PowerCycleGate& gate) : status_(status), gate_(gate) {}

  void ShowPlainMessage(std::string_view text) override {
    std::string line(text);
    for (char& c : line) c = c == '\n' ? ' ' : c;
    messages_ += (messages_.empty() ? "" : "; ") + line;
  }
  void AskToPowerCycle(std::string_view /*text*/) override {
    status_.Step("unplug and plug the reader in again, then press Enter");
    gate_.Wait();
    status_.Step("setting the IPL option");
  }
  void SetRange(int low, int high) override {
    low_ = low;
    high_ = high;
  }
  void SetPosition(int position) override {
    if (high_ > low_) status_.Percent((position - low_) * 100 / (high_ - low_));
  }
  const std::string& messages() const { return messages_; }

 private:
  ReaderStatus& status_;
  PowerCycleGate& gate_;
  std::string messages_;
  int low_ = 0;
  int high_ = 0;
};

}  // namespace

std::optional<FirmwarePlan> LoadFirmware(const std::string& path, std::string* why) {
  std::string cause;
  // A folder, a pipe or a device is no firmware file, and reading one could wait forever.
  if (platform::KindOfPath(path, &cause) != platform::PathKind::kRegularFile) {
    *why = "cannot read " + path + (cause.empty() ? ": no such file" : ": " + cause);
    return std::nullopt;
  }
  std::ifstream file(path, std::ios::in | std::ios::binary);
  if (!file.is_open()) {
    *why = "cannot read " + path;
    return std::nullopt;
  }
  FirmwarePlan plan;
  plan.image.fill(firmware::kNoCode);
  firmware::HexReader reader(file);
  std::ostringstream problem;
  if (!firmware::LoadFirmwareImage(reader, plan.image, problem, path)) {
    *why = problem.str();
    while (!why->empty() && why->back() == '\n') why->pop_back();
    return std::nullopt;
  }
  if (!firmware::VerifyFileRevision(plan.image, plan.revision)) {
    *why = path + " carries no revision (\"REV n.nn\" at 1FE0)";
    return std::nullopt;
  }
  if (firmware::IspDialectOf(firmware::FirmwareFamily(plan.revision)) == nullptr) {
    *why = path + " is firmware " + plan.revision + ", of a family this program cannot flash";
    return std::nullopt;
  }
  return plan;
}

void PowerCycleGate::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  const uint64_t seen = lines_;
  while (lines_ == seen && !ended_) {
    if (reading_) {
      changed_.wait(lock);
      continue;
    }
    reading_ = true;
    lock.unlock();
    std::string line;
    const bool got = static_cast<bool>(std::getline(in_, line));
    lock.lock();
    reading_ = false;
    if (got) {
      ++lines_;
    } else {
      ended_ = true;
    }
    changed_.notify_all();
  }
}

void RunFlash(ReaderJob& job, const FirmwarePlan& plan, bool force, PowerCycleGate& gate) {
  ReaderReport& report = job.report();
  ReaderStatus& status = job.status();
  FlashOutput output(status, gate);
  firmware::UpdaterLink link(job.world().ports(), job.world().clock());
  firmware::IspSequence isp(link, output, job.diagnostics());
  auto fail = [&](const std::string& failure) {
    std::string why = failure;
    if (!output.messages().empty()) why += ": " + output.messages();
    report.Fail(job.WithCause(why));
    link.ClosePort();
  };

  status.Step("opening the port");
  // A device path is opened by the world's ports whatever port text the link is given.
  const std::string& port = job.target().port;
  if (!link.OpenPort(port.starts_with("COM") ? port : "COM", std::to_string(job.baud()))) {
    return fail("the port could not be opened");
  }
  status.Step("checking revisions");
  std::string device_revision;
  if (!firmware::ReadDeviceRevision(link, device_revision)) {
    return fail("the reader's revision could not be read");
  }
  report.data["from"] = device_revision;
  report.data["to"] = plan.revision;
  report.data["forced"] = force;
  switch (firmware::CompareRevisions(plan.revision, device_revision)) {
    case firmware::RevisionComparison::kUnsupported:
      return fail("firmware " + plan.revision + " is not for this reader (" + device_revision +
                  ")");
    case firmware::RevisionComparison::kSameOrOlder:
      if (!force) {
        return fail("the reader has " + device_revision + ", as new as " + plan.revision +
                    " or newer (--force flashes it anyway)");
      }
      break;
    case firmware::RevisionComparison::kUpgrade:
      break;
  }

  isp.AnalyseImage(plan.image, plan.revision);
  status.Step("entering ISP mode");
  if (!isp.EnterIspSetup()) return fail("the reader did not enter ISP mode");
  if (isp.high_region()) {
    status.Step("setting the IPL option");
    if (!isp.SetIplOption()) return fail("the IPL option was not set");
  }
  status.Step("erasing");
  if (!isp.EraseFirmware()) return fail("the firmware was not erased");
  status.Step("programming");
  firmware::FirmwareImage read_back{};
  read_back.fill(firmware::kNoCode);
  if (!isp.ProgramAndVerify(plan.image, read_back, output)) {
    return fail("programming or its read-back failed");
  }
  status.Step("leaving ISP mode");
  if (!isp.ExitIsp()) return fail("the reader did not leave ISP mode");
  link.ClosePort();
  report.summary = device_revision + " -> " + plan.revision +
                   ", verified; unplug and plug the reader in to start it";
}

}  // namespace pelgar::cli
