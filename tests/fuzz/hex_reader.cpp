// The Intel HEX reader over a whole file of any bytes.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "firmware/HexReader.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelgar::firmware;
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  HexReader reader(file);
  FirmwareImage image;
  image.fill(kNoCode);
  LoadFirmwareImage(reader, image, pelgar::fuzz::NullStream(), "fuzz.hex");
  return 0;
}
