#include <gmock/gmock.h>

#include <cstring>

#include "device/DeviceSession.h"
#include "tests/device/SessionFixture.h"

namespace pelgar::device {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

template <size_t N>
void Put(std::array<char, N>& field, const char* text) {
  field.fill('\0');
  std::strncpy(field.data(), text, N - 1);
}

using EnhancedTest = SessionTest;

TEST_F(EnhancedTest, SetDataWrapperSendsHeadZeroTailInSmallAndCapitalHex) {
  auto session = Claimed();
  Put(session->head_text, "AB");
  Put(session->tail_text, "");
  EXPECT_TRUE(session->SetDataWrapper());
  EXPECT_EQ(session->head_length, 2);
  EXPECT_EQ(session->tail_length, 0);
  EXPECT_EQ(session->tail_empty, 1);

  Put(session->head_text, "");
  EXPECT_TRUE(session->SetDataWrapper());

  Put(session->head_text, "a");
  Put(session->tail_text, "Z");
  EXPECT_TRUE(session->SetDataWrapper());
  EXPECT_EQ(session->tail_empty, 0);

  Put(session->head_text, "ABCD");
  Put(session->tail_text, "EFGH");
  EXPECT_TRUE(session->SetDataWrapper());
  EXPECT_THAT(frames(), ElementsAre(":040000111241420056", ":020000111200db", ":040000111261005A1e",
                                    ":0a00001112414243440045464748af"));
  EXPECT_EQ(reader_.state().head_wrapper, "ABCD");
  EXPECT_EQ(reader_.state().tail_wrapper, "EFGH");
  EXPECT_EQ(err(), "");
}

TEST_F(EnhancedTest, GetDataWrapperReadsHeadThenTail) {
  reader_.state().head_wrapper = "AB";
  reader_.state().tail_wrapper = "\xC8\\~";
  auto session = Claimed();
  session->head_length = 9;
  EXPECT_TRUE(session->GetDataWrapper());
  EXPECT_STREQ(session->head_text.data(), "AB");
  EXPECT_STREQ(session->tail_text.data(), "\xC8\\~");
  EXPECT_EQ(session->head_length, 9);  // lengths are SetDataWrapper's
  EXPECT_THAT(frames(), ElementsAre(":020000111900D4", ":020000111901D3"));

  reader_.state().head_wrapper = "";
  reader_.state().tail_wrapper = "ABCDEFGHIJKLMN";
  EXPECT_TRUE(session->GetDataWrapper());
  EXPECT_STREQ(session->head_text.data(), "");
  EXPECT_STREQ(session->tail_text.data(), "ABCDEFGHIJKLMN");
  EXPECT_EQ(err(), "");
}

// Each command's diagnostics when the reader refuses it and when it does not answer;
// the carriage-return setters and the custom table report nothing.
struct FailurePath {
  const char* name;
  bool (DeviceSession::*command)();
  const char* refused;
  const char* unanswered;
};

const FailurePath kFailurePaths[] = {
    {"SetDataWrapper", &DeviceSession::SetDataWrapper,
     "MSR_GET_MSR_DATA_WRAPPER did not apply properly.\n",
     "Failed to send MSR_GET_MSR_DATA_WRAPPER.\n"},
    {"GetDataWrapper", &DeviceSession::GetDataWrapper,
     "Error validating MSR_SET_CONFIGURATION_WRAPPER_HEAD response.\n",
     "Failed to send MSR_SET_CONFIGURATION_WRAPPER_HEAD.\n"},
    {"GetIndividualCR", &DeviceSession::GetIndividualCR, "",
     "Failed to send MSR_GET_INDIVIDUAL_CR.\n"},
    {"SetIndividualCR", &DeviceSession::SetIndividualCR, "", ""},
    {"GetWedgeMode", &DeviceSession::GetWedgeMode,
     "Error validating MSR_GET_MSR_WEDGE_MODE response.\n",
     "Failed to send MSR_GET_MSR_WEDGE_MODE.\n"},
    {"SetWedgeMode", &DeviceSession::SetWedgeMode,
     "MSR_SET_MSR_WEDGE_MODE did not apply properly.\n",
     "Failed to send MSR_SET_MSR_WEDGE_MODE.\n"},
    {"SetCustomWedgeTable", &DeviceSession::SetCustomWedgeTable, "", ""},
    {"ResetCustomWedgeEntry", &DeviceSession::ResetCustomWedgeEntry,
     "MSR_RESET_MSR_WEDGE_MODE did not apply properly.\n",
     "Failed to send MSR_RESET_MSR_WEDGE_MODE.\n"},
};

TEST_F(EnhancedTest, EveryCommandReportsRefusalAndSilenceByName) {
  auto session = Claimed();
  Put(session->head_text, "old");
  Put(session->default_codes, "a");
  Put(session->replacements, "X");
  session->custom_count = 16;
  for (const FailurePath& path : kFailurePaths) {
    SCOPED_TRACE(path.name);
    reader_.faults() = {};
    reader_.faults().reject = true;
    err_.str("");
    EXPECT_FALSE(((*session).*path.command)());
    EXPECT_EQ(err(), path.refused);
    reader_.faults().silent = true;
    err_.str("");
    EXPECT_FALSE(((*session).*path.command)());
    EXPECT_EQ(err(), path.unanswered);
  }
  EXPECT_STREQ(session->head_text.data(), "old");  // a refused query keeps the text
}

TEST_F(EnhancedTest, GetDataWrapperTailFailureKeepsTheNewHead) {
  reader_.state().head_wrapper = "H";
  reader_.faults().silent_after_frames = 4;  // the start sequence, then the head query
  auto session = Claimed();
  Put(session->tail_text, "old");
  EXPECT_FALSE(session->GetDataWrapper());
  EXPECT_STREQ(session->head_text.data(), "H");
  EXPECT_STREQ(session->tail_text.data(), "old");
  EXPECT_EQ(err(), "Failed to send MSR_SET_CONFIGURATION_WRAPPER_TAIL.\n");
}

TEST_F(EnhancedTest, IndividualCarriageReturnsTravelAsReaderBits) {
  reader_.state().cr_byte = 0x1E;
  auto session = Claimed();
  EXPECT_TRUE(session->GetIndividualCR());
  EXPECT_EQ(session->individual_cr, (std::array<uint8_t, 4>{1, 1, 1, 1}));
  reader_.state().cr_byte = 0x01;
  EXPECT_TRUE(session->GetIndividualCR());
  EXPECT_EQ(session->individual_cr, (std::array<uint8_t, 4>{0, 0, 0, 0}));

  session->individual_cr = {1, 0, 2, 0};  // only an exact 1 is on
  EXPECT_TRUE(session->SetIndividualCR());
  EXPECT_EQ(reader_.state().cr_byte, 0x02);
  session->individual_cr = {0, 1, 1, 1};
  EXPECT_TRUE(session->SetIndividualCR());
  EXPECT_EQ(reader_.state().cr_byte, 0x1C);
  EXPECT_THAT(frames(),
              ElementsAre(":0100001114DA", ":0100001114DA", ":020000111302D8", ":02000011131CBE"));
  EXPECT_EQ(err(), "");
}

TEST_F(EnhancedTest, WedgeModeLanguages) {
  reader_.state().wedge_language = 0xFF;
  auto session = Claimed();
  EXPECT_TRUE(session->GetWedgeMode());
  EXPECT_EQ(session->wedge_language, 0xFF);
  for (uint8_t language : {0x00, 0x01, 0xFF}) {
    session->wedge_language = language;
    EXPECT_TRUE(session->SetWedgeMode());
    EXPECT_EQ(reader_.state().wedge_language, language);
  }
  EXPECT_THAT(frames(), ElementsAre(":0100001116D8", ":020000111500D8", ":020000111501D7",
                                    ":0200001115FFD9"));
  EXPECT_EQ(err(), "");
}

TEST_F(EnhancedTest, WedgeModeWithoutAFrameSendsNothingAndFails) {
  auto session = Claimed();
  session->wedge_language = 0x02;
  EXPECT_FALSE(session->SetWedgeMode());
  EXPECT_THAT(frames(), IsEmpty());
  EXPECT_EQ(err(), "Failed to send MSR_SET_MSR_WEDGE_MODE.\n");
}

TEST_F(EnhancedTest, CustomTableBatchIsOneFrameInCapitals) {
  auto session = Claimed();
  Put(session->default_codes, "ab");
  Put(session->replacements, "XY");
  EXPECT_TRUE(session->SetCustomWedgeTable());
  EXPECT_EQ(session->custom_count, 2);
  EXPECT_THAT(frames(), ElementsAre(":060000111761620058595E"));
  EXPECT_EQ(reader_.state().custom_table['a'], 'X');
  EXPECT_EQ(reader_.state().custom_table['b'], 'Y');
  EXPECT_EQ(reader_.state().custom_table['c'], 'c');
}

TEST_F(EnhancedTest, CustomTableWithUnpairedCodesIsRefusedUnsent) {
  auto session = Claimed();
  Put(session->default_codes, "abc");
  Put(session->replacements, "XY");
  EXPECT_FALSE(session->SetCustomWedgeTable());
  Put(session->default_codes, "a");
  EXPECT_FALSE(session->SetCustomWedgeTable());
  EXPECT_THAT(frames(), IsEmpty());

  Put(session->default_codes, "a");
  Put(session->replacements, "X");
  reader_.faults().reject = true;
  EXPECT_FALSE(session->SetCustomWedgeTable());
  EXPECT_EQ(err(), "");
}

TEST_F(EnhancedTest, ResetMapsTracksOneAndThreeBackToThemselves) {
  reader_.state().custom_table[0x41] = 'z';
  reader_.state().custom_table[0x61] = 'z';
  auto session = Claimed();
  int64_t start = now();
  for (int index = 16; index <= 79; ++index) {
    session->custom_count = static_cast<uint8_t>(index);
    ASSERT_TRUE(session->ResetCustomWedgeEntry());
  }
  EXPECT_EQ(now() - start, 64 * kExchangeMs);
  ASSERT_EQ(frames().size(), 64u);
  EXPECT_EQ(frames().front(), ":040000111720002094");
  EXPECT_EQ(frames().back(), ":04000011175F005F16");
  EXPECT_EQ(reader_.state().custom_table[0x41], 0x41);
  EXPECT_EQ(reader_.state().custom_table[0x61], 'z');  // outside the reset range

  session->custom_count = 0x0F;
  EXPECT_TRUE(session->ResetCustomWedgeEntry());
  EXPECT_EQ(frames().back(), ":04000011170F000FB6");
  EXPECT_EQ(err(), "");
}

TEST_F(EnhancedTest, UnclaimedSessionSendsNothing) {
  reader_.faults().silent = true;
  auto session = Open();
  reader_.ClearLog();
  err_.str("");
  EXPECT_FALSE(session->SetDataWrapper());
  EXPECT_FALSE(session->GetDataWrapper());
  EXPECT_FALSE(session->GetIndividualCR());
  EXPECT_FALSE(session->SetIndividualCR());
  EXPECT_FALSE(session->GetWedgeMode());
  EXPECT_FALSE(session->SetWedgeMode());
  EXPECT_FALSE(session->SetCustomWedgeTable());
  EXPECT_FALSE(session->ResetCustomWedgeEntry());
  EXPECT_THAT(frames(), IsEmpty());
  EXPECT_EQ(err(), "");
}

}  // namespace
}  // namespace pelgar::device
