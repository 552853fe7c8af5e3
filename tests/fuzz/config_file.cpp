// The configuration file reader over a file of any bytes: both brands' headers, lines
// longer than their reads, CR LF pairs cut by a read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/ConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelgar::config;
  const LoadedConfigFile loaded =
      ParseConfigFile(std::string_view(reinterpret_cast<const char*>(data), size));
  // Every sentinel edit gets at most one character, a wrapper no more than one read.
  for (const auto& sentinel : loaded.sentinels) {
    if (sentinel && sentinel->size() > 1) __builtin_trap();
  }
  if (loaded.head_wrapper.value_or("").size() >= kWrapperReadLimit) __builtin_trap();
  return 0;
}
