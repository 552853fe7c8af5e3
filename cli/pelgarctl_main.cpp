// pelgarctl: Pelgar's command line for scripts and for many readers at once.
#include <cstdlib>
#include <iostream>

#include "cli/CtlCommandLine.h"
#include "cli/CtlRun.h"
#include "cli/ReaderWorld.h"
#include "platform/Terminal.h"

int main(int argc, char** argv) {
  using namespace pelgar;
  int status = cli::kExitOk;
  std::optional<cli::CtlRequest> request =
      cli::ParseCtlCommandLine(argc, argv, std::cout, std::cerr, &status);
  if (!request) return status;
  std::string trace = request->trace;
  if (const char* variable = std::getenv("PELGAR_TRACE"); trace.empty() && variable != nullptr) {
    trace = variable;
  }
  std::shared_ptr<platform::WireTrace> wire;
  if (!trace.empty()) wire = platform::OpenWireTrace(trace, std::cerr, "pelgarctl");
  cli::SystemWorlds worlds(wire);
  return cli::RunCtl(*request, worlds, std::cin, std::cout, std::cerr,
                     platform::StandardOutputIsTerminal());
}
