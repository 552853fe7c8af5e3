#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "firmware/HexReader.h"
#include "support/FirmwareImages.h"

namespace pelgar::firmware {
namespace {

// Loads `text` into `image` (all 0xFF before); "loaded", or "refused" and what it said.
std::string Load(const std::string& text, FirmwareImage& image) {
  image.fill(kNoCode);
  std::istringstream in(text);
  std::ostringstream err;
  HexReader reader(in);
  const bool loaded = LoadFirmwareImage(reader, image, err, "test.hex");
  return (loaded ? "loaded" : "refused ") + err.str();
}

std::string Filled(unsigned address, size_t length, uint8_t value) {
  const std::vector<uint8_t> data(length, value);
  return pelgar::testing::DataRecord(address, data.data(), length) + "\n";
}

std::string Invalid(int line, const std::string& what) {
  return "refused Invalid hex file format at line " + std::to_string(line) +
         " of test.hex: " + what + "\n";
}

TEST(HexReader, LoadsWhatTheFileHoldsAndNamesTheBadLine) {
  // Four bytes at 0x0100; 0x04 + 0x01 + 0x12 + 0x34 + 0x56 + 0x78 = 0x119, checksum 0xE7.
  const std::string at0100 = ":0401000012345678E7\n";
  std::ifstream data_file(PELGAR_TEST_DATA "/crlf_rev2.31_low_0x0000_64B.hex", std::ios::binary);
  struct Case {
    std::string text;
    std::vector<std::pair<size_t, int>> bytes;  // address, value after the load
    std::string outcome = "loaded";
  };
  // clang-format off
  const Case cases[] = {
      {"", {{0x0100, 0xFF}}},
      {"\n\n   \n\r\n", {{0x0100, 0xFF}}},
      {at0100, {{0x0100, 0x12}, {0x0103, 0x78}, {0x0104, 0xFF}}},  // no end record
      // Loading ends at the first record that is not data: a type 04 first, an end record.
      {":020000040000FA\n" + at0100, {{0x0100, 0xFF}}},
      {":00000001FF\n" + at0100, {{0x0100, 0xFF}}},
      {"   :04010000ABCDEF0193   \r\n", {{0x0100, 0xAB}, {0x0103, 0x01}}},
      {":04010000abcdef0193\n", {{0x0100, 0xAB}, {0x0103, 0x01}}},
      {"\t" + at0100, {}, Invalid(1, "the line does not begin with ':'")},
      {Filled(0x0200, 44, 0x5A) + at0100, {{0x0200, 0x5A}, {0x022B, 0x5A}, {0x0100, 0x12}}},
      // A 101-character line; what came before it stays.
      {at0100 + Filled(0x0200, 45, 0x5A), {{0x0100, 0x12}, {0x0200, 0xFF}},
       Invalid(2, "the record length 2D needs 101 characters, the line holds 99")},
      {"\n" + Filled(0, 16, 0x11).substr(0, 30) + "\n", {},
       Invalid(2, "the record length 10 needs 43 characters, the line holds 30")},
      {at0100 + "\n:0401000012345678E6\n", {}, "refused Checksum Error at line 3 of test.hex: "
                                               "the checksum is E6, the record adds up to E7\n"},
      // The later of two records for one address wins.
      {Filled(0x0010, 4, 0x11) + Filled(0x0012, 4, 0x22), {{0x0011, 0x11}, {0x0015, 0x22}}},
      // Nothing is stored outside the image: a file that does not fit is refused, not cut.
      {Filled(0x3FF8, 16, 0x33), {{0x3FF8, 0xFF}},
       Invalid(1, "the data at 3FF8 to 4007 runs past the last address 3FFF")},
      {Filled(0xFFF0, 16, 0x33), {{0x3FF0, 0xFF}},
       Invalid(1, "the data at FFF0 to FFFF runs past the last address 3FFF")},
      {Filled(0x3FF0, 16, 0x33), {{0x3FFF, 0x33}}},
      {{std::istreambuf_iterator<char>(data_file), {}},
       {{0x0000, 0x02}, {0x003F, 0x3F}, {0x1FE0, 'R'}, {0x1FE7, '1'}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FirmwareImage image;
    EXPECT_EQ(Load(c.text, image), c.outcome);
    for (auto [address, value] : c.bytes) EXPECT_EQ(image[address], value) << address;
  }
}

}  // namespace
}  // namespace pelgar::firmware
