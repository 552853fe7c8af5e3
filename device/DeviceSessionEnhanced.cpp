// The device session's enhanced-settings commands: data wrappers, individual carriage
// returns, wedge mode language and the custom wedge table.
#include <ostream>
#include <string>

#include "config/EnhancedSettings.h"
#include "config/FixedText.h"
#include "device/CommandFrame.h"
#include "device/DeviceSession.h"

namespace pelgar::device {
namespace {

constexpr std::string_view kGetHeadWrapper = ":020000111900D4";
constexpr std::string_view kGetTailWrapper = ":020000111901D3";
constexpr std::string_view kGetIndividualCr = ":0100001114DA";
constexpr std::string_view kGetWedgeMode = ":0100001116D8";
constexpr std::string_view kSetWedgeModeAltNumPad = ":020000111500D8";
constexpr std::string_view kSetWedgeModeUsa = ":020000111501D7";
constexpr std::string_view kSetWedgeModeCustomTable = ":0200001115FFD9";

// A wrapper query is refused with "X" here rather than acknowledged at its end.
constexpr size_t kRejectionMarkPosition = 16;
// The wrapper's bytes start here as hex pairs; the reader reports at most 14.
constexpr size_t kWrapperValuePosition = 29;
constexpr size_t kMaxReportedWrapper = config::kMaxWrapperTotal;
constexpr size_t kValuePosition = 27;
constexpr size_t kSetWedgeModeLength = 15;
constexpr size_t kResetEntryLength = 19;

}  // namespace

bool DeviceSession::SetDataWrapper() {
  if (!IsClaimed()) return false;
  std::string_view head = config::FieldText(head_text);
  std::string_view tail = config::FieldText(tail_text);
  head_length = static_cast<uint8_t>(head.size());
  tail_length = static_cast<uint8_t>(tail.size());
  tail_empty = ToFlag(tail.empty());

  // Data bytes: the command, the head wrapper, 00, the tail wrapper.
  std::string frame =
      ":" + HexByte(static_cast<uint8_t>(head.size() + tail.size() + 2), HexCase::kSmall);
  frame += "00001112" + HexText(head, HexCase::kCapital) + "00" + HexText(tail, HexCase::kCapital);
  frame = WithChecksum(frame, HexCase::kSmall);

  return SendSetting(frame, "MSR_GET_MSR_DATA_WRAPPER", frame.size());
}

bool DeviceSession::QueryWrapper(std::string_view frame, std::string_view name,
                                 std::array<char, 20>& text) {
  ReplyBuffer reply;
  if (!Send(frame, reply)) {
    ReportNotSent("MSR_SET_CONFIGURATION_WRAPPER_" + std::string(name));
    return false;
  }
  if (ReplyChar(reply, kRejectionMarkPosition) == 'X') {
    Report("Error validating MSR_SET_CONFIGURATION_WRAPPER_" + std::string(name) + " response.");
    return false;
  }
  static_assert(kMaxReportedWrapper < std::tuple_size_v<std::array<char, 20>>);
  text.fill('\0');
  for (size_t i = 0; i < kMaxReportedWrapper; ++i) {
    size_t position = kWrapperValuePosition + 2 * i;
    // A pair cut short by the end of the reply counts as no character.
    if (ReplyChar(reply, position + 1) == '\0') break;
    uint8_t value = ReplyByte(reply, position);
    if (value == 0) break;
    text[i] = static_cast<char>(value);
  }
  return true;
}

bool DeviceSession::GetDataWrapper() {
  if (!IsClaimed()) return false;
  return QueryWrapper(kGetHeadWrapper, "HEAD", head_text) &&
         QueryWrapper(kGetTailWrapper, "TAIL", tail_text);
}

bool DeviceSession::GetIndividualCR() {
  if (!IsClaimed()) return false;
  ReplyBuffer reply;
  if (!Send(kGetIndividualCr, reply)) {
    ReportNotSent("MSR_GET_INDIVIDUAL_CR");
    return false;
  }
  if (!AcknowledgedAt(reply, kGetIndividualCr.size())) return false;
  config::CrFlags flags = config::DecodeReaderCrByte(ReplyByte(reply, kValuePosition));
  individual_cr = {flags.track1, flags.track2, flags.track3, flags.capital_mode};
  return true;
}

bool DeviceSession::SetIndividualCR() {
  if (!IsClaimed()) return false;
  config::CrFlags flags;
  flags.track1 = IsOn(individual_cr[0]);
  flags.track2 = IsOn(individual_cr[1]);
  flags.track3 = IsOn(individual_cr[2]);
  flags.capital_mode = IsOn(individual_cr[3]);
  std::string frame =
      WithChecksum(":0200001113" + HexByte(config::EncodeReaderCrByte(flags), HexCase::kCapital),
                   HexCase::kCapital);
  ReplyBuffer reply;
  return Send(frame, reply) && AcknowledgedAt(reply, frame.size());
}

bool DeviceSession::GetWedgeMode() {
  if (!IsClaimed()) return false;
  ReplyBuffer reply;
  if (!Send(kGetWedgeMode, reply)) {
    ReportNotSent("MSR_GET_MSR_WEDGE_MODE");
    return false;
  }
  if (!AcknowledgedAt(reply, kGetWedgeMode.size())) {
    Report("Error validating MSR_GET_MSR_WEDGE_MODE response.");
    return false;
  }
  wedge_language = ReplyByte(reply, kValuePosition);
  return true;
}

bool DeviceSession::SetWedgeMode() {
  if (!IsClaimed()) return false;
  // There is no frame for another language: the empty frame writes nothing, the reader
  // stays silent and the exchange fails.
  std::string_view frame;
  if (wedge_language == config::kWedgeLanguageAltNumPad) {
    frame = kSetWedgeModeAltNumPad;
  } else if (wedge_language == config::kWedgeLanguageUsa) {
    frame = kSetWedgeModeUsa;
  } else if (wedge_language == config::kWedgeLanguageCustomTable) {
    frame = kSetWedgeModeCustomTable;
  }
  return SendSetting(frame, "MSR_SET_MSR_WEDGE_MODE", kSetWedgeModeLength);
}

bool DeviceSession::SetCustomWedgeTable() {
  if (!IsClaimed()) return false;
  std::string_view replacement = config::FieldText(replacements);
  std::string_view defaults = config::FieldText(default_codes);
  custom_count = static_cast<uint8_t>(replacement.size());
  // Entries are pairs: with more codes than replacements (or fewer) the length byte would
  // disagree with the data sent, so such a table is refused before anything is written.
  if (defaults.size() != replacement.size() || replacement.size() > config::kMaxSessionEntries) {
    return false;
  }
  // Data bytes: the command, the codes, 00, their replacements.
  std::string frame =
      ":" + HexByte(static_cast<uint8_t>(2 * replacement.size() + 2), HexCase::kCapital);
  frame += "00001117" + HexText(defaults, HexCase::kCapital) + "00" +
           HexText(replacement, HexCase::kCapital);
  frame = WithChecksum(frame, HexCase::kCapital);
  ReplyBuffer reply;
  return Send(frame, reply) && AcknowledgedAt(reply, frame.size());
}

bool DeviceSession::ResetCustomWedgeEntry() {
  if (!IsClaimed()) return false;
  std::string code = HexByte(config::CustomTableCodeForIndex(custom_count), HexCase::kCapital);
  std::string frame = WithChecksum(":0400001117" + code + "00" + code, HexCase::kCapital);
  return SendSetting(frame, "MSR_RESET_MSR_WEDGE_MODE", kResetEntryLength);
}

}  // namespace pelgar::device
