// How alive the desktop window stays while the reader works: runs the real Qt windows
// against pelgar-sim over a pseudo-terminal and measures the longest time between two
// passes of the event loop (a repaint, at the latest), and how many were longer than a
// frame at 60 Hz, during Get Config, a Reset of the custom wedge table (64 commands) and a
// full firmware update. Also the window's start-up
// time (from the process's start to the main window shown), its memory, and the CPU time
// each action cost this process (the simulator's is its own).
// Not a test: it prints figures. Without a display it draws offscreen.
//
// usage: window_bench [TIME_SCALE]   (default 4: the waits are shorter, the slices are not)
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/Desktop.h"
#include "bench/BenchSupport.h"
#include "hosts/qt/DialogWindow.h"
#include "hosts/qt/QtHost.h"
#include "platform/RealClock.h"
#include "platform/SystemPorts.h"
#include "support/FirmwareImages.h"
#include "tools/AutoUser.h"
#include "ui/enhanced/EnhancedConfigIds.h"
#include "ui/main/MainWindowIds.h"
#include "ui/update/UpdateWindowIds.h"

namespace {

using namespace pelgar;
using hosts::qt::DialogWindow;
using ui::Notification;

// Milliseconds since this process started, from the kernel's record of its start.
double MsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string field;
  for (int i = 0; i < 22 && stat >> field; ++i) {
  }
  double start_s = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
  std::ifstream uptime("/proc/uptime");
  double now_s = 0;
  uptime >> now_s;
  return (now_s - start_s) * 1000.0;
}

struct Figure {
  const char* action;
  double longest_ms = 0;
  long long waits = 0;
  long long missed = 0;
  double took_ms = 0;
  double cpu_ms = 0;
};

double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && std::strtod(argv[1], nullptr) <= 0)) {
    std::fprintf(stderr, "usage: window_bench [TIME_SCALE]\n");
    return 2;
  }
  setenv("PELGAR_TIME_SCALE", argc == 2 ? argv[1] : "4", 1);
  if (std::getenv("DISPLAY") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char pattern[] = "/tmp/pelgar-window-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::filesystem::path dir = pattern;
  setenv("PELGAR_PORT_DIR", (dir / "ports").c_str(), 1);

  QApplication application(argc, argv);
  const pid_t simulator = bench::StartSimulator(dir / "ports" / "COM3");
  if (simulator < 0) {
    std::fprintf(stderr, "window_bench: pelgar-sim did not start (%s)\n", PELGAR_SIM_EXE);
    return 1;
  }
  platform::RealClock clock(platform::RealClock::ScaleFromEnvironment());
  std::unique_ptr<platform::PortFactory> ports = platform::MakeSystemPorts(clock);
  std::ostringstream out, err;
  device::DeviceEnvironment env{*ports, clock, out, err};
  hosts::qt::QtHost host;
  tools::AutoUser user;
  user.file = (dir / "full.hex").string();
  std::ofstream(user.file, std::ios::binary)
      << testing::ToHexText(testing::MakeImage("REV 2.31", firmware::kImageSize, 0));

  Figure figures[] = {{"Get Config"}, {"Reset (64 commands)"}, {"firmware update (16 KB)"}};
  double startup_ms = 0;
  auto measure = [&](Figure& figure, const std::function<void()>& action) {
    host.ResetGapMeasure();
    auto start = std::chrono::steady_clock::now();
    const double cpu_start = CpuMs();
    action();
    figure.cpu_ms = CpuMs() - cpu_start;
    figure.took_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    figure.longest_ms = static_cast<double>(host.longest_gap().count()) / 1000.0;
    figure.waits = host.wait_calls();
    figure.missed = host.missed_frames();
  };
  host.on_shown = [&](DialogWindow& window) {
    switch (window.dialog_template().id) {
      case ui::main_id::kDialog:
        startup_ms = MsSinceProcessStart();
        measure(figures[0],
                [&] { window.Deliver(ui::main_id::kGetConfig, Notification::kClicked); });
        window.Deliver(ui::main_id::kEnhancedWindowCommand, Notification::kMenuCommand);
        window.Deliver(ui::main_id::kFirmwareUpdate, Notification::kClicked);
        window.controls().Close(ui::kIdCancel);
        break;
      case ui::enhanced_id::kDialog:
        measure(figures[1],
                [&] { window.Deliver(ui::enhanced_id::kResetCustom, Notification::kClicked); });
        window.controls().Close(ui::kIdCancel);
        break;
      case ui::update_id::kDialog: {
        // The update runs in the window's timer event; the gap is measured from its start.
        host.ResetGapMeasure();
        auto start = std::chrono::steady_clock::now();
        const double cpu_start = CpuMs();
        auto* poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [&, poll, start, cpu_start] {
          if (host.waiting() || window.busy_depth() > 0 || !window.close_enabled()) return;
          poll->stop();
          figures[2].took_ms =
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                  .count();
          figures[2].longest_ms = static_cast<double>(host.longest_gap().count()) / 1000.0;
          figures[2].waits = host.wait_calls();
          figures[2].missed = host.missed_frames();
          figures[2].cpu_ms = CpuMs() - cpu_start;
          window.close();
        });
        poll->start(50);
        break;
      }
      default:
        break;
    }
  };
  app::RunSettings settings;
  ui::HostServices services{host, host, host, user, user, host};
  app::Desktop desktop(settings, services, env, out);
  desktop.Run();

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("window on %s, time scale %g, wait slices of at most %lld ms\n",
              qPrintable(QGuiApplication::platformName()), clock.scale(),
              static_cast<long long>(platform::kWaitSliceMs));
  std::printf("%-26s %10s %12s %10s %10s %8s\n", "action", "took ms", "longest gap", "over 1/60 s",
              "hook calls", "cpu ms");
  for (const Figure& f : figures) {
    std::printf("%-26s %10.1f %9.1f ms %10lld %10lld %8.1f\n", f.action, f.took_ms, f.longest_ms,
                f.missed, f.waits, f.cpu_ms);
  }
  std::printf("start-up: %.0f ms from the process's start to the main window shown\n", startup_ms);
  std::printf("memory: %.1f MB at most (resident)\n",
              static_cast<double>(usage.ru_maxrss) / 1024.0);
  std::printf("reader's messages:\n%s", user.shown.c_str());

  kill(simulator, SIGTERM);
  int status = 0;
  waitpid(simulator, &status, 0);
  std::filesystem::remove_all(dir);
  return 0;
}
