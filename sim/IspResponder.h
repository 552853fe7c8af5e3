#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Faults.h"
#include "sim/ReaderState.h"
#include "sim/ReplyChunk.h"

namespace pelgar::sim {

// The reader's in-system programming side. Once command mode has switched the reader to
// ISP mode, every byte the host sends comes here instead of to the command parser.
//
// The ISP ROM follows the rate the host sets: a run of "U" at a new rate synchronises it
// and is echoed; anything else at a rate it is not synchronised to is garbage. Two
// dialects, chosen by the family digit of the reader's revision ("REV 1.xx" speaks family
// 1's): family 1 takes the extra setup frames, the IPL option frames (which carry no
// checksum), a whole-chip erase and a high-region erase that needs the IPL option, and
// every data record twice; families 2 and 3 take a chip erase and 128-byte page erases.
// Flash behaves as flash: programming only clears bits, so an unerased line fails to
// verify. Every frame is echoed, then "." (accepted) or "X" (refused), then CR; the
// read-back reply carries the address at positions 23-26 and 16 bytes at 28-59.
class IspResponder {
 public:
  IspResponder(ReaderState& state, Faults& faults);

  // The command side has just switched the reader to ISP mode: the ISP ROM starts afresh
  // at the reader's rate, in the dialect of the reader's family.
  void Begin();

  std::vector<ReplyChunk> Receive(std::string_view bytes, int32_t baud);
  // The line has been quiet for a while after the host wrote: ends frames that carry no
  // checksum to delimit them. Returns what the reader sends back for such a frame, with
  // delays relative to now.
  std::vector<ReplyChunk> Idle();

 private:
  // Takes whole frames off the front of pending_; false when it needs more bytes.
  bool TakeFrame(std::string* frame, bool line_idle);
  std::string Handle(const std::string& frame);
  std::string HandleUnchecked(const std::string& frame, const std::vector<uint8_t>& data);
  std::string HandleErase(const std::string& frame, const std::vector<uint8_t>& data);
  std::string HandleData(const std::string& frame, uint16_t address,
                         const std::vector<uint8_t>& data);
  std::string HandleReadBack(const std::string& frame, const std::vector<uint8_t>& data);
  std::string HandleExit(const std::string& frame);
  void Erase(size_t first, size_t end);

  ReaderState& state_;
  Faults& faults_;
  bool active_ = false;
  int family_ = 2;
  int32_t baud_ = 0;
  std::string pending_;
  int ipl_step_ = 0;
  bool ipl_option_ = false;
};

}  // namespace pelgar::sim
