#include "cli/CtlRun.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>

#include "cli/ConfigurationPlan.h"
#include "cli/CtlCommandLine.h"
#include "cli/Display.h"
#include "cli/FlashJob.h"
#include "cli/ReaderJob.h"
#include "cli/ReaderTargets.h"
#include "config/ConfigFile.h"
#include "platform/Files.h"

namespace pelgar::cli {
namespace {

// How often the live lines are redrawn.
constexpr auto kTick = std::chrono::milliseconds(100);
constexpr std::string_view kPortPlaceholder = "{port}";

// What every reader's job is given: the command's file, read and checked once.
struct Work {
  const CtlRequest& request;
  std::optional<ConfigurationPlan> configuration;
  std::optional<FirmwarePlan> firmware;
  std::string codes;  // table set
  std::string replacements;
  PowerCycleGate* gate;
};

std::optional<ConfigurationPlan> LoadConfiguration(const std::string& path, std::string* why) {
  std::string cause;
  // A folder, a pipe or a device is no configuration file, and reading one could wait forever.
  if (platform::KindOfPath(path, &cause) != platform::PathKind::kRegularFile) {
    *why = "cannot read " + path + (cause.empty() ? ": not a file" : ": " + cause);
    return std::nullopt;
  }
  std::optional<std::string> raw = platform::ReadFileStart(path, config::kMaxBytesRead);
  if (!raw) {
    *why = "cannot read " + path;
    return std::nullopt;
  }
  std::optional<ConfigurationPlan> plan = PlanConfiguration(*raw, why);
  if (!plan) *why = path + ": " + *why;
  return plan;
}

// The name that stands for a reader in a file name: its port, or its device's own name.
std::string FileNamePart(const std::string& port) {
  return port.substr(port.find_last_of("/\\") + 1);
}

std::string OutputFor(const std::string& pattern, const std::string& port) {
  std::string path = pattern;
  for (size_t at = path.find(kPortPlaceholder); at != std::string::npos;
       at = path.find(kPortPlaceholder, at)) {
    const std::string name = FileNamePart(port);
    path.replace(at, kPortPlaceholder.size(), name);
    at += name.size();
  }
  return path;
}

void RunPorts(ReaderJob& job, bool probe) {
  const bool exists = platform::PathExists(job.target().device);
  job.report().data["exists"] = exists;
  job.report().summary = job.target().device + (exists ? "" : " (not there)");
  if (!probe || !exists) return;
  RunProbe(job);
  const nlohmann::ordered_json& reader = job.report().data["reader"];
  job.report().summary +=
      reader.is_null() ? ", no reader answers" : ", reader " + reader.get<std::string>();
}

void RunJob(ReaderJob& job, const Work& work) {
  const CtlRequest& request = work.request;
  switch (request.command) {
    case Command::kPorts:
      return RunPorts(job, request.probe);
    case Command::kInfo:
      return RunInfo(job);
    case Command::kGet:
      return RunGet(job, request.output.empty() ? std::string()
                                                : OutputFor(request.output, job.target().port));
    case Command::kApply:
      return RunApply(job, *work.configuration, request.verify);
    case Command::kVerify:
      return RunVerify(job, *work.configuration);
    case Command::kSend:
      return RunSend(job, request.frame);
    case Command::kFlash:
      return RunFlash(job, *work.firmware, request.force, *work.gate);
    case Command::kTableSet:
      return RunTableSet(job, work.codes, work.replacements);
    case Command::kTableReset:
      return RunTableReset(job);
  }
}

// The file every reader's job needs, checked before any reader is claimed.
bool Prepare(Work& work, std::string* why) {
  const CtlRequest& request = work.request;
  switch (request.command) {
    case Command::kApply:
    case Command::kVerify:
      work.configuration = LoadConfiguration(request.file, why);
      return work.configuration.has_value();
    case Command::kFlash:
      work.firmware = LoadFirmware(request.file, why);
      return work.firmware.has_value();
    case Command::kTableSet:
      for (const TableEntry& entry : request.entries) {
        work.codes += entry.code;
        work.replacements += entry.replacement;
      }
      return true;
    default:
      return true;
  }
}

int ExitStatus(const std::vector<std::unique_ptr<ReaderJob>>& jobs) {
  int status = kExitOk;
  for (const auto& job : jobs) {
    if (job->report().failed()) return kExitFailed;
    if (job->report().outcome == Outcome::kDifferent) status = kExitDifferent;
  }
  return status;
}

}  // namespace

int RunCtl(const CtlRequest& request, WorldMaker& worlds, std::istream& in, std::ostream& out,
           std::ostream& err, bool terminal) {
  std::string why;
  std::vector<ReaderTarget> targets;
  if (request.command == Command::kPorts) {
    targets = KnownPorts();
  } else if (auto resolved = ResolveTargets(request.ports, request.all, &why)) {
    targets = *resolved;
  } else {
    return UsageError(err, why);
  }
  if (request.command == Command::kGet && targets.size() > 1 && !request.json &&
      request.output.find(kPortPlaceholder) == std::string::npos) {
    return UsageError(err,
                      "get of several readers writes one file each: -o NAME{port}.DAT (or -j)");
  }

  PowerCycleGate gate(in);
  Work work{request, {}, {}, {}, {}, &gate};
  const bool prepared = Prepare(work, &why);

  std::vector<std::unique_ptr<ReaderStatus>> statuses;
  std::vector<std::unique_ptr<ReaderWorld>> reader_worlds;
  std::vector<std::unique_ptr<ReaderJob>> jobs;
  std::vector<Display::Reader> shown;
  for (const ReaderTarget& target : targets) {
    statuses.push_back(std::make_unique<ReaderStatus>());
    reader_worlds.push_back(worlds.Make(target));
    jobs.push_back(
        std::make_unique<ReaderJob>(target, *reader_worlds.back(), request.baud, *statuses.back()));
    shown.push_back({&jobs.back()->report(), statuses.back().get()});
  }
  Display display(request, out, err, terminal);
  if (!prepared) {
    // A refused file changes no reader: none is claimed.
    for (size_t i = 0; i < jobs.size(); ++i) {
      jobs[i]->report().Fail(why);
      statuses[i]->Done();
    }
    display.Start(shown);
    for (const auto& job : jobs) display.Finished(job->report());
    display.End();
    return kExitFailed;
  }

  std::mutex mutex;
  std::condition_variable finished_changed;
  std::deque<const ReaderReport*> finished;
  std::vector<std::thread> threads;
  display.Start(shown);
  for (size_t i = 0; i < jobs.size(); ++i) {
    threads.emplace_back([&, i] {
      RunJob(*jobs[i], work);
      statuses[i]->Done();
      const std::lock_guard<std::mutex> lock(mutex);
      finished.push_back(&jobs[i]->report());
      finished_changed.notify_one();
    });
  }
  for (size_t shown_count = 0; shown_count < jobs.size();) {
    std::deque<const ReaderReport*> ready;
    {
      std::unique_lock<std::mutex> lock(mutex);
      finished_changed.wait_for(lock, kTick, [&] { return !finished.empty(); });
      ready.swap(finished);
    }
    for (const ReaderReport* report : ready) display.Finished(*report);
    shown_count += ready.size();
    display.Tick();
  }
  for (std::thread& thread : threads) thread.join();
  display.End();
  return ExitStatus(jobs);
}

}  // namespace pelgar::cli
