// pelgar-sim: a simulated magnetic stripe reader on a pseudo-terminal.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <iostream>
#include <string>

#include "platform/PortNames.h"
#include "platform/RealClock.h"
#include "sim/SimOptions.h"
#include "sim/SimulatedReader.h"
#include "sim/StateFile.h"
#include "sim/posix/PtyTransport.h"
#include "sim/posix/StateWriter.h"
#include "version.h"

namespace {

using pelgar::sim::SimOptions;

std::atomic<bool> stop_requested{false};

extern "C" void RequestStop(int /*signal*/) { stop_requested.store(true); }

void InstallSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  std::string error;
  if (!pelgar::sim::ParseSimOptions(argc, argv, &options, &error)) {
    std::cerr << "pelgar-sim: " << error << "\n" << pelgar::sim::SimUsage();
    return 2;
  }
  if (options.help) {
    std::cout << pelgar::sim::SimUsage();
    return 0;
  }
  if (options.version) {
    std::cout << "pelgar-sim " << pelgar::kVersion << std::endl;
    return 0;
  }

  pelgar::sim::SimulatedReader reader;
  pelgar::sim::ReaderState& state = reader.state();
  std::string saved;
  if (!options.state_file.empty()) {
    bool existed = false;
    if (!pelgar::sim::StateFile::Load(options.state_file, &state, &existed, &error)) {
      std::cerr << "pelgar-sim: " << error << std::endl;
      return 2;
    }
    // A file as written by hand is rewritten only when the reader's flash changes.
    if (existed) saved = pelgar::sim::StateFile::Format(state);
  }
  if (options.revision) state.revision = *options.revision;
  if (options.slide_switch) state.slide_switch = *options.slide_switch;
  if (options.reader_baud) state.baud = *options.reader_baud;
  reader.faults() = options.faults;
  state.PowerUp();

  InstallSignalHandlers();
  pelgar::platform::RealClock clock(pelgar::platform::RealClock::ScaleFromEnvironment());
  pelgar::sim::PtyTransport transport(reader, clock);
  if (!transport.Open(options.port, &error)) {
    std::cerr << "pelgar-sim: " << error << std::endl;
    return 1;
  }
  pelgar::sim::StateWriter writer(options.state_file, std::move(saved));
  const auto offer_flash = [&writer, &state, &options] {
    if (!options.state_file.empty()) writer.Offer(pelgar::sim::StateFile::Format(state));
  };
  offer_flash();
  transport.after_receive = offer_flash;
  if (options.trace) {
    transport.trace = [](const std::string& line) { std::cout << line << std::endl; };
  }
  std::cout << "pelgar-sim: " << options.port << " -> " << transport.device_path()
            << " (port directory " << pelgar::platform::PortDirectory() << ")" << std::endl;

  transport.Run(stop_requested);
  transport.Close();
  offer_flash();
  writer.Finish();
  return 0;
}
