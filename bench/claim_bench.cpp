// Claims the simulated reader over a pseudo-terminal at real timing, reads its
// configuration and releases it, and compares the time taken with the protocol's floor:
// for every exchange, its bytes on the line (10 bits each at the baud rate) plus the
// 500 ms of silence that ends a reply, with a wait hook installed as a desktop host would.
// Not a test: it prints figures.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "device/DeviceSession.h"
#include "platform/RealClock.h"
#include "platform/posix/PosixSerialPort.h"
#include "sim/SimulatedReader.h"
#include "sim/posix/PtyTransport.h"

namespace {

using namespace pelgar;

constexpr int32_t kBaud = 19200;
constexpr int kRuns = 3;
constexpr double kSilenceMs = 500;

// The floor of the exchanges the reader saw: replays its frames on a fresh reader to
// learn each reply's length.
double FloorMs(const std::vector<std::string>& frames) {
  sim::SimulatedReader replay;
  double floor_ms = 0;
  for (const std::string& frame : frames) {
    size_t bytes = frame.size();
    for (const sim::ReplyChunk& chunk : replay.Receive(frame, kBaud)) bytes += chunk.bytes.size();
    floor_ms += static_cast<double>(bytes) * 10.0 * 1000.0 / kBaud + kSilenceMs;
  }
  return floor_ms;
}

// Stands in for a desktop host's repaint, so that the figures include waits cut into slices.
class CountingHook : public platform::WaitHook {
 public:
  void OnWait() override { ++calls; }
  long long calls = 0;
};

}  // namespace

int main() {
  char pattern[] = "/tmp/pelgar-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::filesystem::path dir = pattern;
  setenv("PELGAR_PORT_DIR", (dir / "ports").c_str(), 1);

  platform::RealClock clock(1.0);
  CountingHook hook;
  clock.SetWaitHook(&hook);
  sim::SimulatedReader reader;
  sim::PtyTransport transport(reader, clock);
  std::string error;
  if (!transport.Open("COM3", &error)) {
    std::fprintf(stderr, "claim_bench: %s\n", error.c_str());
    std::filesystem::remove_all(dir);
    return 1;
  }
  std::atomic<bool> stop{false};
  std::thread simulator([&] { transport.Run(stop); });

  platform::PosixPortFactory ports(clock);
  std::ostringstream out;
  std::ostringstream err;
  device::DeviceEnvironment env{ports, clock, out, err};

  std::printf("claim, read configuration, release at %d baud over %s\n", kBaud,
              transport.device_path().c_str());
  std::printf("%-5s %12s %12s %8s\n", "run", "measured ms", "floor ms", "ratio");
  int failures = 0;
  for (int run = 1; run <= kRuns; ++run) {
    // Wait for the previous run's stale lock to be lifted and the line to settle.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const size_t first_frame = reader.received_frames().size();
    const auto start = std::chrono::steady_clock::now();
    auto session = device::ClaimReader(env, "3", kBaud);
    const bool claimed = session != nullptr;
    session.reset();  // releases the reader: back to functional mode, port closed
    const double measured =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // The simulator thread is idle now: the host has waited out the last reply.
    const auto& all = reader.received_frames();
    std::vector<std::string> frames(all.begin() + static_cast<std::ptrdiff_t>(first_frame),
                                    all.end());
    const double floor_ms = FloorMs(frames);
    std::printf("%-5d %12.1f %12.1f %8.4f%s\n", run, measured, floor_ms, measured / floor_ms,
                claimed ? "" : "  (not claimed)");
    if (!claimed) ++failures;
  }

  std::printf("wait hook called %lld times\n", hook.calls);

  stop = true;
  simulator.join();
  transport.Close();
  std::filesystem::remove_all(dir);
  if (!err.str().empty()) std::fprintf(stderr, "%s", err.str().c_str());
  return failures == 0 ? 0 : 1;
}
