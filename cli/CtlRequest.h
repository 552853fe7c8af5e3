#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/PortText.h"

namespace pelgar::cli {

enum class Command { kPorts, kInfo, kGet, kApply, kVerify, kSend, kFlash, kTableSet, kTableReset };

// The command's name as typed, and as the JSON output's "command" field gives it.
const char* CommandName(Command command);

// One row of "table set": the character the reader replaces and what it types instead.
struct TableEntry {
  char code;
  char replacement;
};

// What pelgarctl's command line asked for.
struct CtlRequest {
  Command command = Command::kInfo;
  std::vector<std::string> ports;  // as typed, split at commas; none: COM3
  bool all = false;
  int32_t baud = device::kDefaultBaud.value;
  bool json = false;
  bool quiet = false;
  std::string trace;                // --trace FILE, else PELGAR_TRACE
  bool probe = false;               // ports
  std::string output;               // get -o
  std::string file;                 // apply, verify, flash
  bool verify = false;              // apply --verify
  bool force = false;               // flash --force
  std::string frame;                // send
  std::vector<TableEntry> entries;  // table set
};

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;     // a reader failed: not claimed, refused, lost
inline constexpr int kExitUsage = 2;      // the command line was wrong; nothing was sent
inline constexpr int kExitDifferent = 3;  // verify found a difference

}  // namespace pelgar::cli
