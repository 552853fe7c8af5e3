// The Intel HEX reader over a whole file of any bytes: mangled records, stray NULs and CRs,
// cut lines.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "firmware/HexReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelgar::firmware;
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  HexReader reader(file);
  FirmwareImage image;
  image.fill(kNoCode);
  std::ostringstream err;
  // A refusal always says why.
  if (!LoadFirmwareImage(reader, image, err, "fuzz.hex") && err.str().empty()) __builtin_trap();
  return 0;
}
