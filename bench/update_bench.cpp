// Updates the simulated reader's firmware over a pseudo-terminal at 19200 baud, through
// the same updater the update window runs, with a small image and a full 16 KB one, and
// compares the time the update took (from the window's timer to its end) with the
// protocol's floor: the bytes on the line both ways (10 bits each), 500 ms of silence
// after every Exchange, and the sequence's own waits. The floor comes from a dry run of
// the same update on virtual time against the in-process simulator, where the line itself
// takes no time, plus the bytes of that run at the baud rate. Also prints the CPU time
// the updater used. The real clock has a wait hook installed, as a desktop host would.
// Not a test: it prints figures.
//
// usage: update_bench [TIME_SCALE] [small|full|both]   (PELGAR_TIME_SCALE otherwise)
#include <fcntl.h>
// kill() is POSIX: <signal.h> declares it, <csignal> need not.
#include <signal.h>  // NOLINT(modernize-deprecated-headers)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/RealClock.h"
#include "platform/VirtualClock.h"
#include "platform/posix/PosixSerialPort.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/FirmwareImages.h"
#include "support/ScriptedHost.h"
#include "ui/host/ControlStore.h"
#include "ui/update/FirmwareUpdater.h"
#include "ui/update/UpdateWindowIds.h"

namespace {

using namespace pelgar;

constexpr int32_t kBaud = 19200;
constexpr double kBitsPerByte = 10;

double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double WallMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Counts the bytes on the line in both directions.
class CountingPorts : public platform::PortFactory {
 public:
  explicit CountingPorts(platform::PortFactory& inner) : inner_(inner) {}
  std::unique_ptr<platform::SerialPort> Create() override {
    return std::make_unique<Port>(inner_.Create(), *this);
  }
  size_t bytes = 0;

 private:
  class Port : public platform::SerialPort {
   public:
    Port(std::unique_ptr<platform::SerialPort> inner, CountingPorts& owner)
        : inner_(std::move(inner)), owner_(owner) {}
    platform::OpenResult Open(const std::string& name, int32_t baud) override {
      return inner_->Open(name, baud);
    }
    void SetBaudRate(int32_t baud) override { inner_->SetBaudRate(baud); }
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      size_t n = inner_->Read(dest, count, total_ms, interval_ms);
      owner_.bytes += n;
      return n;
    }
    bool Write(const uint8_t* data, size_t count) override {
      owner_.bytes += count;
      return inner_->Write(data, count);
    }
    bool HungUp() const override { return inner_->HungUp(); }
    void Close() override { inner_->Close(); }

   private:
    std::unique_ptr<platform::SerialPort> inner_;
    CountingPorts& owner_;
  };
  platform::PortFactory& inner_;
};

// The program's side of window 132 for an unattended bench: the scripted host fires the
// timer once after its interval on the clock and closes the window after the update; the
// user says OK and Yes to everything. Only the timer event, the update itself, is timed.
class BenchHost : public testing::ScriptedHost, public ui::MessageOutput {
 public:
  explicit BenchHost(platform::Clock& clock) : ScriptedHost(clock), clock_(clock) {
    max_timer_firings = 1;
    around_timer = [this](const std::function<void()>& fire) {
      const double cpu = CpuSeconds(RUSAGE_SELF);
      const double start = WallMs();
      const int64_t nominal_start = clock_.NowMs();
      fire();
      update_ms = WallMs() - start;
      update_nominal_ms = static_cast<double>(clock_.NowMs() - nominal_start);
      update_cpu_s = CpuSeconds(RUSAGE_SELF) - cpu;
    };
  }
  int ShowMessage(std::string_view text, std::string_view, unsigned type) override {
    messages += std::string(text) + "\n";
    return (type & 0x0F) == ui::box::kYesNo ? ui::answer::kYes : ui::answer::kOk;
  }
  int ShowPlainMessage(std::string_view text, unsigned) override {
    messages += std::string(text) + "\n";
    return ui::answer::kOk;
  }
  std::string FinalStatus() {
    ui::ControlStore* window = Last(ui::update_id::kDialog);
    return window == nullptr ? std::string() : window->Text(ui::update_id::kStatusLine);
  }

  std::string messages;
  double update_ms = 0;          // wall time
  double update_nominal_ms = 0;  // on the updater's clock
  double update_cpu_s = 0;

 private:
  platform::Clock& clock_;
};

struct Outcome {
  double ms = 0;
  double nominal_ms = 0;
  double cpu_s = 0;
  size_t bytes = 0;
  std::string status;
  std::string messages;
};

Outcome Update(platform::PortFactory& line, platform::Clock& clock, const std::string& path) {
  CountingPorts ports(line);
  BenchHost host(clock);
  host.choice = path;
  std::ostringstream err;
  ui::FirmwareUpdater updater(
      {ports, clock, static_cast<ui::MessageOutput&>(host), host, host, host, host, err});
  updater.SetPort("COM3", std::to_string(kBaud));
  updater.DoModal();
  return {host.update_ms, host.update_nominal_ms, host.update_cpu_s,
          ports.bytes,    host.FinalStatus(),     host.messages + err.str()};
}

// The same update on virtual time against a reader of `revision`: waits and silences only.
Outcome DryRun(const std::string& path, const std::string& revision) {
  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  reader.state().revision = revision;
  sim::InProcessPortFactory line(reader, clock);
  return Update(line, clock, path);
}

// Stands in for a desktop host's repaint, so that the figures include waits cut into slices.
class CountingHook : public platform::WaitHook {
 public:
  void OnWait() override { ++calls; }
  long long calls = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::string which = "both";
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "small" || arg == "full" || arg == "both") {
      which = arg;
    } else if (std::strtod(arg.c_str(), nullptr) > 0) {
      setenv("PELGAR_TIME_SCALE", arg.c_str(), 1);
    } else {
      std::fprintf(stderr, "usage: update_bench [TIME_SCALE] [small|full|both]\n");
      return 2;
    }
  }
  char pattern[] = "/tmp/pelgar-update-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::filesystem::path dir = pattern;
  setenv("PELGAR_PORT_DIR", (dir / "ports").c_str(), 1);
  const pid_t simulator = bench::StartSimulator(dir / "ports" / "COM3");
  if (simulator < 0) {
    std::fprintf(stderr, "update_bench: pelgar-sim did not start (%s)\n", PELGAR_SIM_EXE);
    std::filesystem::remove_all(dir);
    return 1;
  }

  platform::RealClock clock(platform::RealClock::ScaleFromEnvironment());
  CountingHook hook;
  clock.SetWaitHook(&hook);
  platform::PosixPortFactory line(clock);
  struct Case {
    const char* name;
    size_t code_bytes;
    std::string revision;
  };
  std::vector<Case> cases;
  if (which != "full") cases.push_back({"small", 384, "REV 2.31"});
  if (which != "small") cases.push_back({"full", firmware::kImageSize, "REV 2.32"});

  std::printf("firmware update over a pseudo-terminal at %d baud, time scale %g\n", kBaud,
              clock.scale());
  std::printf("%-6s %8s %12s %12s %8s %10s %8s\n", "image", "bytes", "measured ms", "floor ms",
              "ratio", "cpu ms", "cpu %");
  int failures = 0;
  std::string reader_revision = "REV 2.30";
  for (const Case& c : cases) {
    const std::string path = (dir / (std::string(c.name) + ".hex")).string();
    std::ofstream(path, std::ios::binary)
        << testing::ToHexText(testing::MakeImage(c.revision, c.code_bytes, 0));
    const Outcome dry = DryRun(path, reader_revision);
    const Outcome real = Update(line, clock, path);
    reader_revision = c.revision;
    const double wire_ms = static_cast<double>(dry.bytes) * kBitsPerByte * 1000.0 / kBaud;
    const double floor_ms = (dry.nominal_ms + wire_ms) / clock.scale();
    std::printf("%-6s %8zu %12.1f %12.1f %8.4f %10.1f %8.3f\n", c.name, real.bytes, real.ms,
                floor_ms, real.ms / floor_ms, real.cpu_s * 1000, 100 * real.cpu_s * 1000 / real.ms);
    if (real.status != "Exiting ISP programming mode successfully.") {
      std::printf("  update failed: %s\n%s", real.status.c_str(), real.messages.c_str());
      ++failures;
    }
    if (real.bytes != dry.bytes) {
      std::printf("  the line carried %zu bytes, the dry run %zu\n", real.bytes, dry.bytes);
    }
  }

  std::printf("wait hook called %lld times\n", hook.calls);

  kill(simulator, SIGTERM);
  int status = 0;
  waitpid(simulator, &status, 0);
  std::printf("pelgar-sim used %.1f ms of CPU\n", CpuSeconds(RUSAGE_CHILDREN) * 1000);
  std::filesystem::remove_all(dir);
  return failures == 0 ? 0 : 1;
}
