// The command line into the run settings: any text a script may build.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/CommandLine.h"
#include "app/RunSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelgar::app;
  const RunSettings settings =
      ParseCommandLine(std::string_view(reinterpret_cast<const char*>(data), size));
  // The run does one thing at most.
  if (settings.configuration_load + settings.debug_command + settings.usage > 1) __builtin_trap();
  settings.WindowSettings();
  return 0;
}
