#include "sim/ReaderCommands.h"

#include <vector>

namespace pelgar::sim {
namespace {

using Kind = CommandOutcome::Kind;

CommandOutcome Accepted(std::string record = {}) { return {Kind::kAccepted, std::move(record)}; }
CommandOutcome Refused() { return {Kind::kRefused, {}}; }
CommandOutcome Ignored() { return {Kind::kIgnored, {}}; }

uint8_t SwitchValue(SlideSwitch position) {
  switch (position) {
    case SlideSwitch::kSerial:
      return kSwitchSerial;
    case SlideSwitch::kWedge:
      return kSwitchWedge;
    case SlideSwitch::kNone:
      break;
  }
  return kSwitchNone;
}

}  // namespace

CommandOutcome ReaderCommands::Value(uint8_t code, uint8_t value) {
  return Accepted(HexRecord::Format(kCommandRecordType, {0x00, code, value}));
}

CommandOutcome ReaderCommands::Handle(const HexRecord& frame) {
  if (frame.address != 0 || frame.type != kCommandRecordType || frame.data.empty()) {
    return state_.command_mode ? Refused() : Ignored();
  }
  const uint8_t code = frame.data[0];
  const size_t size = frame.data.size();
  if (code == kEnterCommandMode && size == 1) {
    state_.command_mode = true;
    return Accepted();
  }
  if (code == kRestoreFunctionalMode && size == 1) {
    state_.command_mode = false;
    return Accepted();
  }
  // While it reads cards the reader listens for nothing but the two mode switches.
  if (!state_.command_mode) return Ignored();
  return HandleInCommandMode(frame);
}

CommandOutcome ReaderCommands::HandleInCommandMode(const HexRecord& frame) {
  const std::vector<uint8_t>& data = frame.data;
  const size_t size = data.size();
  switch (data[0]) {
    case kEnterIsp:
      if (size != 1) break;
      state_.isp_mode = true;
      return Accepted();
    case kGetConfiguration:
      return GetConfiguration(frame);
    case kStoreTemporary:
    case kStoreFlash:
      return SetConfiguration(frame);
    case kCommit: {
      if (size != 1) break;
      state_.option_byte = state_.active_option_byte;
      state_.sentinels = state_.active_sentinels;
      CommandOutcome outcome = Accepted();
      outcome.commit = true;
      return outcome;
    }
    case kQuerySlideSwitch:
      if (size != 1) break;
      return Value(kQuerySlideSwitch, SwitchValue(state_.slide_switch));
    case kSetDataWrapper:
      return SetDataWrapper(frame);
    case kGetDataWrapper:
      return GetDataWrapper(frame);
    case kGetIndividualCr:
      if (size != 1) break;
      return Value(kGetIndividualCr, state_.cr_byte);
    case kSetIndividualCr:
      if (size != 2) break;
      state_.cr_byte = data[1];
      return Accepted();
    case kGetWedgeMode:
      if (size != 1) break;
      return Value(kGetWedgeMode, state_.wedge_language);
    case kSetWedgeMode:
      return SetWedgeMode(frame);
    case kSetCustomTable:
      return SetCustomTable(frame);
    default:
      break;
  }
  return Refused();
}

CommandOutcome ReaderCommands::GetConfiguration(const HexRecord& frame) {
  if (frame.data.size() != 2 || frame.data[1] != 0x00) return Refused();
  // Data byte 0 is the command code, then the option byte, the four sentinels and the
  // eight revision characters: the option byte lands at reply positions 27-28.
  std::string revision = state_.revision.substr(0, kRevisionLength);
  revision.resize(kRevisionLength, ' ');
  std::vector<uint8_t> data;
  data.reserve(2 + state_.active_sentinels.size() + kRevisionLength);
  data.push_back(kGetConfiguration);
  data.push_back(state_.active_option_byte);
  for (uint8_t sentinel : state_.active_sentinels) data.push_back(sentinel);
  for (char c : revision) data.push_back(static_cast<uint8_t>(c));
  return Accepted(HexRecord::Format(kCommandRecordType, data));
}

CommandOutcome ReaderCommands::SetConfiguration(const HexRecord& frame) {
  const std::vector<uint8_t>& data = frame.data;
  if (data.size() != 6) return Refused();
  state_.active_option_byte = data[1];
  for (size_t i = 0; i < state_.active_sentinels.size(); ++i) {
    state_.active_sentinels[i] = data[2 + i];
  }
  return Accepted();
}

CommandOutcome ReaderCommands::SetDataWrapper(const HexRecord& frame) {
  // Code, head characters, 00, tail characters.
  const std::vector<uint8_t>& data = frame.data;
  size_t separator = 1;
  while (separator < data.size() && data[separator] != 0x00) ++separator;
  if (separator == data.size()) return Refused();
  std::string head(data.begin() + 1, data.begin() + static_cast<std::ptrdiff_t>(separator));
  std::string tail(data.begin() + static_cast<std::ptrdiff_t>(separator) + 1, data.end());
  if (head.size() + tail.size() > kMaxWrapperTotal || tail.find('\0') != std::string::npos) {
    return Refused();
  }
  state_.head_wrapper = head;
  state_.tail_wrapper = tail;
  return Accepted();
}

CommandOutcome ReaderCommands::GetDataWrapper(const HexRecord& frame) {
  const std::vector<uint8_t>& data = frame.data;
  if (data.size() != 2 || data[1] > 0x01) return Refused();
  const std::string& wrapper = data[1] == 0x00 ? state_.head_wrapper : state_.tail_wrapper;
  // Code, parameter, the wrapper characters and a zero that ends them: the characters
  // start at reply position 29.
  std::vector<uint8_t> record{kGetDataWrapper, data[1]};
  for (size_t i = 0; i < wrapper.size() && i < kMaxWrapperTotal; ++i) {
    record.push_back(static_cast<uint8_t>(wrapper[i]));
  }
  record.push_back(0x00);
  return Accepted(HexRecord::Format(kCommandRecordType, record));
}

CommandOutcome ReaderCommands::SetWedgeMode(const HexRecord& frame) {
  const std::vector<uint8_t>& data = frame.data;
  if (data.size() != 2 || (data[1] != 0x00 && data[1] != 0x01 && data[1] != 0xFF)) {
    return Refused();
  }
  state_.wedge_language = data[1];
  return Accepted();
}

CommandOutcome ReaderCommands::SetCustomTable(const HexRecord& frame) {
  // Code, n character codes, 00, n replacements. A code may itself be 00 (track 2 uses
  // 00-0F), so the halves are told apart by the count, not by searching for the 00.
  const std::vector<uint8_t>& data = frame.data;
  if (data.size() < 2 || data.size() % 2 != 0) return Refused();
  const size_t count = (data.size() - 2) / 2;
  if (data[1 + count] != 0x00) return Refused();
  for (size_t i = 0; i < count; ++i) {
    state_.custom_table[data[1 + i]] = data[2 + count + i];
  }
  return Accepted();
}

}  // namespace pelgar::sim
