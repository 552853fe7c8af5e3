#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "firmware/HexReader.h"
#include "firmware/HexText.h"

namespace pelgar::firmware {
namespace {

struct Loaded {
  bool ok = false;
  FirmwareImage image{};
  std::string err;
};

Loaded Load(const std::string& text) {
  Loaded result;
  result.image.fill(kNoCode);
  std::istringstream in(text);
  HexReader reader(in);
  std::ostringstream err;
  result.ok = LoadFirmwareImage(reader, result.image, err, "test.hex");
  result.err = err.str();
  return result;
}

bool AllNoCode(const FirmwareImage& image) {
  for (uint8_t byte : image) {
    if (byte != kNoCode) return false;
  }
  return true;
}

// Four bytes at 0x0100; 0x04 + 0x01 + 0x12 + 0x34 + 0x56 + 0x78 = 0x119, checksum 0xE7.
constexpr char kRecordAt0100[] = ":0401000012345678E7";

TEST(HexText, PairsAndQuadsStopAtTheFirstNonDigit) {
  EXPECT_EQ(HexPair("ab", 0), 0xAB);
  EXPECT_EQ(HexPair("AB", 0), 0xAB);
  EXPECT_EQ(HexPair("G1", 0), 0);
  EXPECT_EQ(HexPair("1G", 0), 1);
  EXPECT_EQ(HexPair("1", 0), 1);  // the end of the text stops it like a non-digit
  EXPECT_EQ(HexPair("12", 5), 0);
  EXPECT_EQ(HexQuad(":12FfE", 1), 0x12FF);
  EXPECT_EQ(HexQuad(" 123", 0), 0);
}

TEST(HexText, CompleteRecordAppendsTheChecksumOnlyToAWellFormedRecord) {
  std::string erase = ":03000003080000";
  CompleteRecord(erase);
  EXPECT_EQ(erase, ":03000003080000F2");
  std::string with_line_end = ":0100001110\r\n";
  CompleteRecord(with_line_end);
  EXPECT_EQ(with_line_end, ":0100001110DE");
  std::string short_data = ":0300000308\r\n";  // promises 3 data bytes, holds 1
  CompleteRecord(short_data);
  EXPECT_EQ(short_data, ":0300000308");
  std::string no_colon = "0100001110";
  CompleteRecord(no_colon);
  EXPECT_EQ(no_colon, "0100001110");
}

TEST(HexReader, EmptyFileAndBlankLinesLoadNothing) {
  for (const char* text : {"", "\n\n   \n\r\n"}) {
    Loaded loaded = Load(text);
    EXPECT_TRUE(loaded.ok) << text;
    EXPECT_TRUE(AllNoCode(loaded.image));
    EXPECT_EQ(loaded.err, "");
  }
}

TEST(HexReader, LoadsWithoutAnEndRecordAndStopsAtTheFirstOtherType) {
  Loaded no_end = Load(std::string(kRecordAt0100) + "\n");
  ASSERT_TRUE(no_end.ok);
  EXPECT_EQ(no_end.image[0x100], 0x12);
  EXPECT_EQ(no_end.image[0x103], 0x78);

  // An extended linear address record first: the data records after it are never read.
  Loaded extended = Load(":020000040000FA\n" + std::string(kRecordAt0100) + "\n");
  EXPECT_TRUE(extended.ok);
  EXPECT_TRUE(AllNoCode(extended.image));

  Loaded after_end = Load(":00000001FF\n" + std::string(kRecordAt0100) + "\n");
  EXPECT_TRUE(after_end.ok);
  EXPECT_TRUE(AllNoCode(after_end.image));
}

TEST(HexReader, SpacesAroundARecordAndLowerCaseDigitsReadTheSame) {
  Loaded spaced = Load("   :04010000ABCDEF0193   \r\n");
  Loaded lower = Load(":04010000abcdef0193\n");
  ASSERT_TRUE(spaced.ok);
  ASSERT_TRUE(lower.ok);
  EXPECT_EQ(spaced.image[0x0100], 0xAB);
  EXPECT_EQ(spaced.image[0x0103], 0x01);
  EXPECT_EQ(lower.image, spaced.image);
}

TEST(HexReader, TabsAreNotTrimmed) {
  Loaded tabbed = Load("\t:0401000012345678E7\n");
  EXPECT_FALSE(tabbed.ok);
  EXPECT_EQ(tabbed.err,
            "Invalid hex file format at line 1 of test.hex: the line does not "
            "begin with ':'\n");
}

std::string RecordOf(uint16_t address, size_t length, uint8_t value) {
  std::string text = ":";
  char pair[16];
  std::snprintf(pair, sizeof pair, "%02X%04X00", static_cast<unsigned>(length), address);
  text += pair;
  unsigned sum = length + (address >> 8) + (address & 0xFF);
  for (size_t i = 0; i < length; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", value);
    text += pair;
    sum += value;
  }
  std::snprintf(pair, sizeof pair, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
  return text + pair;
}

TEST(HexReader, ReadsA99CharacterLineWholeButNotALongerOne) {
  std::string longest = RecordOf(0x0200, 44, 0x5A);  // 1 + 8 + 88 + 2 characters
  ASSERT_EQ(longest.size(), 99u);
  Loaded whole = Load(longest + "\r\n" + kRecordAt0100 + "\n");
  ASSERT_TRUE(whole.ok) << whole.err;
  EXPECT_EQ(whole.image[0x0200], 0x5A);
  EXPECT_EQ(whole.image[0x022B], 0x5A);
  EXPECT_EQ(whole.image[0x0100], 0x12);

  std::string too_long = RecordOf(0x0200, 45, 0x5A);
  Loaded cut = Load(std::string(kRecordAt0100) + "\n" + too_long + "\n");
  EXPECT_FALSE(cut.ok);
  EXPECT_EQ(cut.image[0x0100], 0x12);  // what came before the bad line stays
  EXPECT_EQ(cut.image[0x0200], kNoCode);
  EXPECT_EQ(cut.err,
            "Invalid hex file format at line 2 of test.hex: the record length 2D needs "
            "101 characters, the line holds 99\n");
}

TEST(HexReader, RejectsARecordShorterThanItsLengthPromises) {
  Loaded loaded = Load("\n" + RecordOf(0x0000, 16, 0x11).substr(0, 30) + "\n");
  EXPECT_FALSE(loaded.ok);
  EXPECT_EQ(loaded.err,
            "Invalid hex file format at line 2 of test.hex: the record length 10 "
            "needs 43 characters, the line holds 30\n");
}

TEST(HexReader, RejectsChecksumMismatchNamingTheLine) {
  Loaded loaded = Load(std::string(kRecordAt0100) + "\n\n:0401000012345678E6\n");
  EXPECT_FALSE(loaded.ok);
  EXPECT_EQ(loaded.err,
            "Checksum Error at line 3 of test.hex: the checksum is E6, the record "
            "adds up to E7\n");

  std::istringstream in(":0401000012345678E6\n");
  HexReader reader(in);
  uint16_t address = 1;
  uint8_t length = 1;
  HexReader::RecordData data{};
  EXPECT_EQ(reader.ReadRecord(address, length, data), HexStatus::kChecksumError);
  EXPECT_EQ(HexStatusText(reader.status()), "Checksum Error");
}

TEST(HexReader, LaterRecordForAnAddressWins) {
  Loaded loaded = Load(RecordOf(0x0010, 4, 0x11) + "\n" + RecordOf(0x0012, 4, 0x22) + "\n");
  ASSERT_TRUE(loaded.ok);
  EXPECT_EQ(loaded.image[0x0011], 0x11);
  EXPECT_EQ(loaded.image[0x0012], 0x22);
  EXPECT_EQ(loaded.image[0x0015], 0x22);
}

// Nothing is stored outside the image: a file that does not fit the reader is refused
// rather than programmed in part.
TEST(HexReader, RefusesDataBeyondTheLastAddress) {
  Loaded spills = Load(RecordOf(0x3FF8, 16, 0x33) + "\n");
  EXPECT_FALSE(spills.ok);
  EXPECT_TRUE(AllNoCode(spills.image));
  EXPECT_EQ(spills.err,
            "Invalid hex file format at line 1 of test.hex: the data at 3FF8 to 4007 "
            "runs past the last address 3FFF\n");

  Loaded beyond = Load(RecordOf(0xFFF0, 16, 0x33) + "\n");
  EXPECT_FALSE(beyond.ok);

  Loaded last_line = Load(RecordOf(0x3FF0, 16, 0x33) + "\n");
  EXPECT_TRUE(last_line.ok);
  EXPECT_EQ(last_line.image[0x3FFF], 0x33);
}

TEST(HexReader, ReadsAFileWithCrLfLineEnds) {
  std::ifstream file(std::string(PELGAR_TEST_DATA) + "/crlf_rev2.31_low_0x0000_64B.hex",
                     std::ios::binary);
  ASSERT_TRUE(file.is_open());
  FirmwareImage image;
  image.fill(kNoCode);
  HexReader reader(file);
  std::ostringstream err;
  ASSERT_TRUE(LoadFirmwareImage(reader, image, err)) << err.str();
  EXPECT_EQ(image[0x0000], 0x02);
  EXPECT_EQ(image[0x003F], 0x3F);
  EXPECT_EQ(std::string(image.begin() + 0x1FE0, image.begin() + 0x1FE8), "REV 2.31");
}

// The reader takes whatever bytes a file holds: mangled records, stray NULs and CRs, cut
// lines. None of it may crash it or reach outside the image (the sanitizer build checks).
TEST(HexReader, SurvivesMangledInput) {
  const std::string valid = RecordOf(0x3FF0, 16, 0x42) + "\r\n" + RecordOf(0x0000, 44, 0x17) +
                            "\n" + std::string(kRecordAt0100) + "\n:00000001FF\n";
  const std::string alphabet = ":0123456789ABCDEFabcdefG \r\n\t";
  std::mt19937 random(1234);
  for (int round = 0; round < 3000; ++round) {
    std::string text = valid;
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int edit = 0; edit < edits && !text.empty(); ++edit) {
      const size_t at = random() % text.size();
      switch (random() % 4) {
        case 0:
          text[at] = alphabet[random() % alphabet.size()];
          break;
        case 1:
          text.erase(at, 1 + random() % 20);
          break;
        case 2:
          text.insert(at, std::string(1 + random() % 120, alphabet[random() % alphabet.size()]));
          break;
        default:
          text[at] = static_cast<char>(random() % 256);
          break;
      }
    }
    Loaded loaded = Load(text);
    EXPECT_EQ(loaded.ok, loaded.err.empty()) << text;
  }
}

}  // namespace
}  // namespace pelgar::firmware
