#include <gtest/gtest.h>

#include "device/DeviceSession.h"
#include "tests/device/SessionFixture.h"

namespace pelgar::device {
namespace {

using EnhancedTest = SessionTest;

// Each command: what it sends when the reader answers, and what it says when the reader
// refuses it and when it does not answer. Sets come before their gets, so that a get reads
// back what was set; the custom table's reset comes first, as the table's set overwrites
// the entry index.
const struct {
  bool (DeviceSession::*run)();
  const char* frames;
  const char* refused;
  const char* unanswered;
} kCommands[] = {
    {&DeviceSession::SetDataWrapper, ":040000111261005A1e",  // head small, tail capitals
     "MSR_GET_MSR_DATA_WRAPPER did not apply properly.\n",
     "Failed to send MSR_GET_MSR_DATA_WRAPPER.\n"},
    {&DeviceSession::GetDataWrapper, ":020000111900D4 :020000111901D3",
     "Error validating MSR_SET_CONFIGURATION_WRAPPER_HEAD response.\n",
     "Failed to send MSR_SET_CONFIGURATION_WRAPPER_HEAD.\n"},
    {&DeviceSession::SetIndividualCR, ":020000111312C8", "", ""},
    {&DeviceSession::GetIndividualCR, ":0100001114DA", "",
     "Failed to send MSR_GET_INDIVIDUAL_CR.\n"},
    {&DeviceSession::SetWedgeMode, ":020000111500D8",
     "MSR_SET_MSR_WEDGE_MODE did not apply properly.\n",
     "Failed to send MSR_SET_MSR_WEDGE_MODE.\n"},
    {&DeviceSession::GetWedgeMode, ":0100001116D8",
     "Error validating MSR_GET_MSR_WEDGE_MODE response.\n",
     "Failed to send MSR_GET_MSR_WEDGE_MODE.\n"},
    {&DeviceSession::ResetCustomWedgeEntry, ":040000111720002094",  // entry 16 is code 0x20
     "MSR_RESET_MSR_WEDGE_MODE did not apply properly.\n",
     "Failed to send MSR_RESET_MSR_WEDGE_MODE.\n"},
    {&DeviceSession::SetCustomWedgeTable, ":060000111761620058595E", "", ""},
};

TEST_F(EnhancedTest, EveryCommandItsFramesAndItsDiagnostics) {
  auto session = Claimed();
  Put(session->head_text, "a");
  Put(session->tail_text, "Z");
  session->individual_cr = {1, 0, 2, 1};  // only an exact 1 is on
  session->wedge_language = 0x00;
  session->custom_count = 16;
  Put(session->default_codes, "ab");
  Put(session->replacements, "XY");
  for (const auto& c : kCommands) {
    SCOPED_TRACE(c.frames);
    reader_.faults() = {};
    Clear();
    EXPECT_TRUE(((*session).*c.run)());
    EXPECT_EQ(Sent(), c.frames);
    const std::string head = session->head_text.data();
    for (bool silent : {false, true}) {
      reader_.faults() = {.silent = silent, .reject = true};
      err_.str("");
      EXPECT_FALSE(((*session).*c.run)());
      EXPECT_EQ(err(), silent ? c.unanswered : c.refused);
      EXPECT_EQ(session->head_text.data(), head);  // a failed query keeps the old text
    }
    session->claimed = 0;  // unclaimed: refused at once, nothing sent
    Clear();
    EXPECT_FALSE(((*session).*c.run)());
    EXPECT_EQ(Sent(), "");
    session->claimed = 1;
  }
  // The gets read back what the sets sent.
  EXPECT_STREQ(session->tail_text.data(), "Z");
  EXPECT_EQ(session->individual_cr, (std::array<uint8_t, 4>{1, 0, 0, 1}));
  EXPECT_EQ(session->wedge_language, 0x00);
  EXPECT_EQ(reader_.state().custom_table['b'], 'Y');
}

TEST_F(EnhancedTest, DataWrappersTravelAsHeadZeroTailAndReadBack) {
  const struct {
    const char* head;
    const char* tail;
    const char* frame;
  } kCases[] = {
      {"AB", "", ":040000111241420056"},
      {"", "", ":020000111200db"},
      {"ABCD", "EFGH", ":0a00001112414243440045464748af"},
      {"", "\xC8\\~ABCDEFGHIJK", ":100000111200C85C7E4142434445464748494A4B29"},
  };
  auto session = Claimed();
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.frame);
    Clear();
    Put(session->head_text, c.head);
    Put(session->tail_text, c.tail);
    EXPECT_TRUE(session->SetDataWrapper());
    EXPECT_EQ(Sent(), c.frame);
    EXPECT_EQ(session->tail_empty, *c.tail == '\0' ? 1 : 0);
    Put(session->head_text, "old");
    Put(session->tail_text, "old");
    EXPECT_TRUE(session->GetDataWrapper());
    EXPECT_STREQ(session->head_text.data(), c.head);
    EXPECT_STREQ(session->tail_text.data(), c.tail);
  }
  EXPECT_EQ(err(), "");
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

// A frame whose length byte disagreed with its data would be corrupt.
TEST_F(EnhancedTest, CustomTableWithUnpairedCodesIsRefusedUnsent) {
  auto session = Claimed();
  Put(session->replacements, "XY");
  for (const char* codes : {"abc", "a"}) {
    Put(session->default_codes, codes);
    EXPECT_FALSE(session->SetCustomWedgeTable()) << codes;
  }
  EXPECT_EQ(Sent(), "");
}

}  // namespace
}  // namespace pelgar::device
