#include <gtest/gtest.h>

#include "device/DeviceSession.h"
#include "tests/device/SessionFixture.h"

namespace pelgar::device {
namespace {

using EnhancedTest = SessionTest;

// Sets come before their gets, so that a get reads back what was set; the table's reset
// comes before its set, which overwrites the entry index.
TEST_F(EnhancedTest, EveryCommandItsFramesAndItsDiagnosticsAndUnpairedTableCodesUnsent) {
  const struct {
    bool (DeviceSession::*run)();
    const char* frames;
    const char* refused;
    const char* unanswered;  // "Failed to send " + this
  } kCommands[] = {
      {&DeviceSession::SetDataWrapper, ":040000111261005A1e",
       "MSR_GET_MSR_DATA_WRAPPER did not apply properly.\n", "MSR_GET_MSR_DATA_WRAPPER"},
      {&DeviceSession::GetDataWrapper, ":020000111900D4 :020000111901D3",
       "Error validating MSR_SET_CONFIGURATION_WRAPPER_HEAD response.\n",
       "MSR_SET_CONFIGURATION_WRAPPER_HEAD"},
      {&DeviceSession::SetIndividualCR, ":020000111312C8", "", ""},
      {&DeviceSession::GetIndividualCR, ":0100001114DA", "", "MSR_GET_INDIVIDUAL_CR"},
      {&DeviceSession::SetWedgeMode, ":020000111500D8",
       "MSR_SET_MSR_WEDGE_MODE did not apply properly.\n", "MSR_SET_MSR_WEDGE_MODE"},
      {&DeviceSession::GetWedgeMode, ":0100001116D8",
       "Error validating MSR_GET_MSR_WEDGE_MODE response.\n", "MSR_GET_MSR_WEDGE_MODE"},
      {&DeviceSession::ResetCustomWedgeEntry, ":040000111720002094",  // entry 16 is code 0x20
       "MSR_RESET_MSR_WEDGE_MODE did not apply properly.\n", "MSR_RESET_MSR_WEDGE_MODE"},
      {&DeviceSession::SetCustomWedgeTable, ":060000111761620058595E", "", ""},
  };
  auto session = Claimed();
  Put(session->head_text, "a");  // sent in small letters, the tail in capitals
  Put(session->tail_text, "Z");
  session->individual_cr = {1, 0, 2, 1};  // only an exact 1 is on
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
    const std::string unanswered =
        *c.unanswered ? "Failed to send " + std::string(c.unanswered) + ".\n" : "";
    for (bool silent : {false, true}) {
      reader_.faults() = {.silent = silent, .reject = true};
      err_.str("");
      EXPECT_FALSE(((*session).*c.run)());
      EXPECT_EQ(err(), silent ? unanswered : c.refused);
      EXPECT_EQ(session->head_text.data(), head);  // a failed query keeps the old text
    }
  }
  // The gets read back what the sets sent.
  EXPECT_STREQ(session->tail_text.data(), "Z");
  EXPECT_EQ(session->individual_cr, (std::array<uint8_t, 4>{1, 0, 0, 1}));
  // Unpaired codes would give a frame whose length byte disagreed with its data.
  Clear();
  for (const char* codes : {"abc", "a"}) {
    Put(session->default_codes, codes);
    EXPECT_FALSE(session->SetCustomWedgeTable()) << codes;
  }
  EXPECT_EQ(Sent(), "");
}

TEST_F(EnhancedTest, DataWrappersTravelAsHeadZeroTailAndReadBackHeadFirst) {
  const struct {
    const char *head, *tail, *frame;
  } kCases[] = {
      {"AB", "", ":040000111241420056"},
      {"ABCD", "EFGH", ":0a00001112414243440045464748af"},
      {"", "\xC8\\~ABCDEFGHIJK", ":100000111200C85C7E4142434445464748494A4B29"},
  };
  auto session = Claimed();
  for (const auto& c : kCases) {
    Clear();
    Put(session->head_text, c.head);
    Put(session->tail_text, c.tail);
    EXPECT_TRUE(session->SetDataWrapper());
    EXPECT_EQ(Sent(), c.frame);
    EXPECT_EQ(session->tail_empty, *c.tail == '\0' ? 1 : 0);
    Put(session->head_text, "old");
    Put(session->tail_text, "old");
    EXPECT_TRUE(session->GetDataWrapper());
    EXPECT_EQ(std::string(session->head_text.data()) + "|" + session->tail_text.data(),
              std::string(c.head) + "|" + c.tail);
  }
  EXPECT_EQ(err(), "");
  // The reader falls silent after the head query: the head is new, the tail as it was.
  reader_.faults().silent_after_frames = 3 + 3 * std::size(kCases) + 1;
  Put(session->head_text, "old");
  Put(session->tail_text, "old");
  EXPECT_FALSE(session->GetDataWrapper());
  EXPECT_EQ(std::string(session->head_text.data()) + "|" + session->tail_text.data(), "|old");
  EXPECT_EQ(err(), "Failed to send MSR_SET_CONFIGURATION_WRAPPER_TAIL.\n");
}

}  // namespace
}  // namespace pelgar::device
