#pragma once

#include <cstdint>
#include <string>

#include "sim/HexRecord.h"
#include "sim/ReaderState.h"

namespace pelgar::sim {

// Command codes of the reader's type-11 frames.
enum CommandCode : uint8_t {
  kStoreTemporary = 0x00,
  kStoreFlash = 0x01,
  kGetConfiguration = 0x02,
  kEnterIsp = 0x07,
  kCommit = 0x09,
  kEnterCommandMode = 0x10,
  kRestoreFunctionalMode = 0x11,
  kSetDataWrapper = 0x12,
  kSetIndividualCr = 0x13,
  kGetIndividualCr = 0x14,
  kSetWedgeMode = 0x15,
  kGetWedgeMode = 0x16,
  kSetCustomTable = 0x17,
  kQuerySlideSwitch = 0x18,
  kGetDataWrapper = 0x19,
};

inline constexpr uint8_t kCommandRecordType = 0x11;
// What the slide-switch reply carries for each position. With the command code before
// it, "18" "00" puts "800" at the positions the host reads.
inline constexpr uint8_t kSwitchSerial = 0x00;
inline constexpr uint8_t kSwitchWedge = 0x01;
inline constexpr uint8_t kSwitchNone = 0xFF;

// What the reader makes of one well-formed frame with a good checksum.
struct CommandOutcome {
  enum class Kind {
    kAccepted,  // "." follows the echo, then `record` when there is one
    kRefused,   // the reader says no: no "."
    kIgnored,   // functional mode: the reader does not answer at all
  };
  Kind kind = Kind::kRefused;
  std::string record;
  bool commit = false;
};

// The command set of the reader, working on its state. Faults are not its business.
class ReaderCommands {
 public:
  explicit ReaderCommands(ReaderState& state) : state_(state) {}

  CommandOutcome Handle(const HexRecord& frame);

 private:
  CommandOutcome HandleInCommandMode(const HexRecord& frame);
  CommandOutcome GetConfiguration(const HexRecord& frame);
  CommandOutcome SetConfiguration(const HexRecord& frame);
  CommandOutcome SetDataWrapper(const HexRecord& frame);
  CommandOutcome GetDataWrapper(const HexRecord& frame);
  CommandOutcome SetWedgeMode(const HexRecord& frame);
  CommandOutcome SetCustomTable(const HexRecord& frame);
  // A reply record of a one-value query: status 00, the command code, the value.
  static CommandOutcome Value(uint8_t code, uint8_t value);

  ReaderState& state_;
};

}  // namespace pelgar::sim
