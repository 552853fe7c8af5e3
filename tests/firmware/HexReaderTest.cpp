#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "firmware/HexReader.h"
#include "support/FirmwareImages.h"

namespace pelgar::firmware {
namespace {

using pelgar::testing::DataRecord;

struct Loaded {
  bool ok;
  FirmwareImage image;
  std::string err;
};

Loaded Load(const std::string& text) {
  FirmwareImage image;
  image.fill(kNoCode);
  std::istringstream in(text);
  std::ostringstream err;
  HexReader reader(in);
  const bool ok = LoadFirmwareImage(reader, image, err, "test.hex");
  return {ok, image, err.str()};
}

// `length` bytes of `value` at `address`.
std::string Filled(unsigned address, size_t length, uint8_t value) {
  std::vector<uint8_t> data(length, value);
  return DataRecord(address, data.data(), length) + "\n";
}

// Four bytes at 0x0100; 0x04 + 0x01 + 0x12 + 0x34 + 0x56 + 0x78 = 0x119, checksum 0xE7.
const std::string kAt0100 = ":0401000012345678E7\n";

std::string DataFile(const char* name) {
  std::ifstream file(std::string(PELGAR_TEST_DATA) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string Invalid(int line, const std::string& what) {
  return "Invalid hex file format at line " + std::to_string(line) + " of test.hex: " + what + "\n";
}

TEST(HexReader, LoadsWhatTheFileHoldsAndNamesTheBadLine) {
  struct Case {
    std::string text;
    std::vector<std::pair<int, int>> bytes;  // address, value after the load
    std::string err = "";                    // empty: the load succeeds
  };
  // clang-format off
  const Case cases[] = {
      {"", {{0x0100, 0xFF}}},
      {"\n\n   \n\r\n", {{0x0100, 0xFF}}},
      {kAt0100, {{0x0100, 0x12}, {0x0103, 0x78}, {0x0104, 0xFF}}},  // no end record
      // Loading ends at the first record that is not data: a type 04 first, an end record.
      {":020000040000FA\n" + kAt0100, {{0x0100, 0xFF}}},
      {":00000001FF\n" + kAt0100, {{0x0100, 0xFF}}},
      {"   :04010000ABCDEF0193   \r\n", {{0x0100, 0xAB}, {0x0103, 0x01}}},
      {":04010000abcdef0193\n", {{0x0100, 0xAB}, {0x0103, 0x01}}},
      {"\t" + kAt0100, {}, Invalid(1, "the line does not begin with ':'")},
      {Filled(0x0200, 44, 0x5A) + kAt0100, {{0x0200, 0x5A}, {0x022B, 0x5A}, {0x0100, 0x12}}},
      // A 101-character line; what came before it stays.
      {kAt0100 + Filled(0x0200, 45, 0x5A), {{0x0100, 0x12}, {0x0200, 0xFF}},
       Invalid(2, "the record length 2D needs 101 characters, the line holds 99")},
      {"\n" + Filled(0, 16, 0x11).substr(0, 30) + "\n", {},
       Invalid(2, "the record length 10 needs 43 characters, the line holds 30")},
      {kAt0100 + "\n:0401000012345678E6\n", {},
       "Checksum Error at line 3 of test.hex: the checksum is E6, the record adds up to E7\n"},
      {Filled(0x0010, 4, 0x11) + Filled(0x0012, 4, 0x22),  // the later record wins
       {{0x0011, 0x11}, {0x0012, 0x22}, {0x0015, 0x22}}},
      // Nothing is stored outside the image: a file that does not fit the reader is
      // refused rather than programmed in part.
      {Filled(0x3FF8, 16, 0x33), {{0x3FF8, 0xFF}},
       Invalid(1, "the data at 3FF8 to 4007 runs past the last address 3FFF")},
      {Filled(0xFFF0, 16, 0x33), {{0x3FF0, 0xFF}},
       Invalid(1, "the data at FFF0 to FFFF runs past the last address 3FFF")},
      {Filled(0x3FF0, 16, 0x33), {{0x3FFF, 0x33}}},
      {DataFile("crlf_rev2.31_low_0x0000_64B.hex"),
       {{0x0000, 0x02}, {0x003F, 0x3F}, {0x1FE0, 'R'}, {0x1FE7, '1'}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Loaded loaded = Load(c.text);
    EXPECT_EQ(loaded.ok, c.err.empty());
    EXPECT_EQ(loaded.err, c.err);
    for (auto [address, value] : c.bytes) EXPECT_EQ(loaded.image[address], value) << address;
  }
}

// Whatever bytes a file holds, mangled records, stray NULs and CRs, cut lines, must not
// crash the reader or reach outside the image (the sanitizer build checks).
TEST(HexReader, SurvivesMangledInput) {
  const std::string valid =
      Filled(0x3FF0, 16, 0x42) + Filled(0, 44, 0x17) + kAt0100 + ":00000001FF\n";
  const std::string alphabet = ":0123456789ABCDEFabcdefG \r\n\t";
  std::mt19937 random(1234);
  // Mostly one character for another; now and then a run cut out or put in.
  auto some = [&random](unsigned most) { return random() % 4 != 0 ? 1 : random() % most; };
  for (int round = 0; round < 3000; ++round) {
    std::string text = valid;
    for (int edit = 1 + static_cast<int>(random() % 8); edit > 0 && !text.empty(); --edit) {
      const char c = random() % 4 != 0 ? alphabet[random() % alphabet.size()]
                                       : static_cast<char>(random() % 256);
      text.replace(random() % text.size(), some(20), std::string(some(120), c));
    }
    Loaded loaded = Load(text);
    EXPECT_EQ(loaded.ok, loaded.err.empty()) << text;
  }
}

}  // namespace
}  // namespace pelgar::firmware
