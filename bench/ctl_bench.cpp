// pelgarctl on many readers at once against as many pelgar-sim processes on pseudo-terminals:
// `apply --verify` of a configuration file with an enhanced section on 16 readers, and `flash`
// of a full 16 KB image on 8, each beside the same command on one reader in the same run.
// Prints the wall time of each, the ratio of many to one (the goal: at most 1.2), and the CPU
// time pelgarctl used as a share of one core. Not a test: it prints figures.
//
// usage: ctl_bench [TIME_SCALE]   (default 1: the reader's own timing)
#include <signal.h>  // NOLINT(modernize-deprecated-headers): kill() is POSIX
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchSupport.h"
#include "support/FirmwareImages.h"

namespace {

namespace fs = std::filesystem;

struct Figures {
  double wall_s = 0;
  double cpu_s = 0;
  int status = -1;
};

// pelgarctl with `args`, its own wall and CPU time.
Figures Ctl(std::vector<std::string> args) {
  args.insert(args.begin(), {PELGARCTL_EXE, "-q"});
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = pelgar::bench::Spawn(args, true);
  int raw = 0;
  rusage usage{};
  wait4(pid, &raw, 0, &usage);
  Figures figures;
  figures.wall_s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  figures.cpu_s = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  figures.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return figures;
}

std::string Ports(int first, int count) {
  std::string ports;
  for (int n = first; n < first + count; ++n)
    ports += (ports.empty() ? "COM" : ",COM") + std::to_string(n);
  return ports;
}

void Report(const char* what, int many, const Figures& one, const Figures& all) {
  std::printf(
      "%-26s 1 reader %7.2f s   %2d readers %7.2f s   ratio %.2f   CPU %.1f%% of a core"
      "   (status %d, %d)\n",
      what, one.wall_s, many, all.wall_s, all.wall_s / one.wall_s, 100.0 * all.cpu_s / all.wall_s,
      one.status, all.status);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string scale = argc > 1 ? argv[1] : "1";
  char pattern[] = "/tmp/pelgar-ctl-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const fs::path dir = pattern;
  setenv("PELGAR_PORT_DIR", (dir / "ports").c_str(), 1);
  setenv("PELGAR_TIME_SCALE", scale.c_str(), 1);
  fs::current_path(dir);

  // 17 readers for apply (one alone, 16 together), 9 of another family for flash.
  std::vector<pid_t> sims;
  for (int n = 1; n <= 26; ++n) {
    sims.push_back(pelgar::bench::Spawn({PELGAR_SIM_EXE, "--port", "COM" + std::to_string(n),
                                         "--switch", "wedge", "--family", n <= 17 ? "2" : "3"},
                                        true));
  }
  for (int n = 1; n <= 26; ++n) {
    for (int i = 0; i < 500 && !fs::exists(dir / "ports" / ("COM" + std::to_string(n))); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  std::ofstream("lobby.dat", std::ios::binary)
      << "Zyr MSR Configuration File\r\n5d%;+?\r\nZyr MSR Enhanced Configuration File\r\n"
         "12H:[\r\n12T:]\r\n13:0F\r\n15:FF\r\n";
  std::ofstream("full.hex", std::ios::binary)
      << pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 3.31", 0x3000, 0x1000));

  std::printf("pelgarctl against pelgar-sim, time scale %s\n", scale.c_str());
  const Figures apply_one = Ctl({"-p", Ports(1, 1), "apply", "lobby.dat", "--verify"});
  const Figures apply_many = Ctl({"-p", Ports(2, 16), "apply", "lobby.dat", "--verify"});
  Report("apply --verify", 16, apply_one, apply_many);
  const Figures flash_one = Ctl({"-p", Ports(18, 1), "flash", "--force", "full.hex"});
  const Figures flash_many = Ctl({"-p", Ports(19, 8), "flash", "--force", "full.hex"});
  Report("flash (16 KB image)", 8, flash_one, flash_many);

  for (pid_t pid : sims) kill(pid, SIGTERM);
  for (pid_t pid : sims) waitpid(pid, nullptr, 0);
  fs::current_path("/");
  fs::remove_all(dir);
  return 0;
}
