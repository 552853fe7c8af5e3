#include "sim/IspResponder.h"

#include <algorithm>

#include "sim/HexRecord.h"

namespace pelgar::sim {
namespace {

constexpr size_t kSyncLength = 8;
constexpr char kSyncByte = 'U';
// Characters before a record's data: colon, length, address, type.
constexpr size_t kHeaderLength = 9;

constexpr uint8_t kDataRecord = 0x00;
constexpr uint8_t kSetupRecord = 0x02;
constexpr uint8_t kEraseRecord = 0x03;
constexpr uint8_t kReadBackRecord = 0x04;
constexpr uint8_t kSetupOptionRecord = 0x05;
constexpr uint8_t kCommandRecord = 0x11;

// Erase and option sub-commands (first data byte of a type 03 record).
constexpr uint8_t kEraseAll = 0x01;
constexpr uint8_t kIplRead = 0x04;
constexpr uint8_t kIplWrite = 0x06;
constexpr uint8_t kEraseChip = 0x07;
constexpr uint8_t kPageErase = 0x08;
constexpr uint8_t kEraseFrom = 0x0C;
constexpr uint8_t kExitIsp = 0x00;

constexpr size_t kHighRegion = 0x3000;
constexpr size_t kPageSize = 128;
constexpr size_t kReadBackLength = 16;
constexpr size_t kRevisionAddress = 0x1FE0;

std::string Accept(const std::string& frame) { return frame + ".\r"; }
std::string Refuse(const std::string& frame) { return frame + "X\r"; }

// The pairs of a frame after its colon; false when one is not hexadecimal.
bool Pairs(std::string_view text, std::vector<uint8_t>* bytes) {
  if (text.size() < kHeaderLength || (text.size() - 1) % 2 != 0) return false;
  for (size_t i = 1; i + 1 < text.size(); i += 2) {
    int high = HexDigitValue(text[i]);
    int low = HexDigitValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes->push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return true;
}

}  // namespace

IspResponder::IspResponder(ReaderState& state, Faults& faults) : state_(state), faults_(faults) {}

void IspResponder::Begin() {
  active_ = true;
  family_ = state_.revision.size() > 4 && state_.revision[4] == '1' ? 1 : 2;
  baud_ = state_.baud;
  pending_.clear();
  ipl_step_ = 0;
  ipl_option_ = false;
}

std::vector<ReplyChunk> IspResponder::Receive(std::string_view bytes, int32_t baud) {
  if (!active_) Begin();
  if (baud != baud_) {
    // The ISP ROM measures a run of "U" to find a new rate; anything else is noise to it.
    if (bytes.empty() || bytes.find_first_not_of(kSyncByte) != std::string_view::npos) {
      pending_.clear();
      return {};
    }
    baud_ = baud;
    pending_.clear();
  }
  pending_.append(bytes);
  std::vector<ReplyChunk> replies;
  std::string frame;
  while (state_.isp_mode && TakeFrame(&frame, false)) {
    std::string reply = Handle(frame);
    if (!reply.empty()) replies.push_back({0, std::move(reply)});
  }
  return replies;
}

std::vector<ReplyChunk> IspResponder::Idle() {
  std::vector<ReplyChunk> replies;
  std::string frame;
  while (state_.isp_mode && active_ && TakeFrame(&frame, true)) {
    std::string reply = Handle(frame);
    if (!reply.empty()) replies.push_back({0, std::move(reply)});
  }
  return replies;
}

bool IspResponder::TakeFrame(std::string* frame, bool line_idle) {
  for (;;) {
    size_t start = pending_.find_first_of(":U");
    if (start == std::string::npos) {
      pending_.clear();
      return false;
    }
    pending_.erase(0, start);
    if (pending_[0] == kSyncByte) {
      size_t run = std::min(pending_.find_first_not_of(kSyncByte), pending_.size());
      if (run < kSyncLength && run == pending_.size() && !line_idle) return false;
      run = std::min(run, kSyncLength);
      *frame = pending_.substr(0, run);
      pending_.erase(0, run);
      return true;
    }
    // Length and type decide how long the frame is; family 1's option frames have no
    // checksum, and the read-back command ends in one "U".
    size_t needed = kHeaderLength;
    std::vector<uint8_t> head;
    if (pending_.size() >= kHeaderLength + 2 &&
        Pairs(pending_.substr(0, kHeaderLength + 2), &head)) {
      needed = HexRecord::TextLength(head[0]);
      const bool option_frame =
          family_ == 1 && head[3] == kEraseRecord && (head[4] == kIplRead || head[4] == kIplWrite);
      if (option_frame) needed -= 2;
      if (head[3] == kReadBackRecord) needed += 1;
    }
    size_t next = pending_.find(':', 1);
    if (next != std::string::npos && next < needed) {
      pending_.erase(0, next);  // cut short by a new frame: the reader drops the fragment
      continue;
    }
    if (pending_.size() < needed || head.empty()) {
      if (!line_idle) return false;
      needed = pending_.size();
    }
    *frame = pending_.substr(0, needed);
    pending_.erase(0, needed);
    return true;
  }
}

std::string IspResponder::Handle(const std::string& frame) {
  if (faults_.isp_silent) return {};
  if (frame[0] == kSyncByte) return frame;

  std::string_view text = frame;
  if (!text.empty() && text.back() == kSyncByte) text.remove_suffix(1);
  std::vector<uint8_t> bytes;
  if (!Pairs(text, &bytes) || bytes.size() < 4u + bytes[0]) return Refuse(frame);
  const uint8_t length = bytes[0];
  const auto address = static_cast<uint16_t>(bytes[1] << 8 | bytes[2]);
  const uint8_t type = bytes[3];
  std::vector<uint8_t> data(bytes.begin() + 4, bytes.begin() + 4 + length);
  if (bytes.size() == 4u + length) return HandleUnchecked(frame, data);

  uint8_t sum = 0;
  for (uint8_t byte : bytes) sum = static_cast<uint8_t>(sum + byte);
  if (bytes.size() != 5u + length || sum != 0) return Refuse(frame);
  if (type == kReadBackRecord) {
    return frame.back() == kSyncByte ? HandleReadBack(frame, data) : Refuse(frame);
  }
  if (frame.back() == kSyncByte) return Refuse(frame);
  switch (type) {
    case kDataRecord:
      return HandleData(frame, address, data);
    case kSetupRecord:
    case kSetupOptionRecord:
      // Family 1's ISP ROM asks for these after every start; the others know none.
      return family_ == 1 && address == 0 && !data.empty() ? Accept(frame) : Refuse(frame);
    case kEraseRecord:
      return HandleErase(frame, data);
    case kCommandRecord:
      return data.size() == 1 && data[0] == kExitIsp ? HandleExit(frame) : Refuse(frame);
    default:
      return Refuse(frame);
  }
}

std::string IspResponder::HandleUnchecked(const std::string& frame,
                                          const std::vector<uint8_t>& data) {
  // Family 1's IPL option: read it (04 00), then write 06 01 and 06 00 in that order.
  if (family_ != 1 || data.empty()) return Refuse(frame);
  if (data == std::vector<uint8_t>{kIplRead, 0x00}) {
    ipl_step_ = 1;
  } else if (data.size() == 3 && data[0] == kIplWrite && data[1] == 0x01 && ipl_step_ == 1) {
    ipl_step_ = 2;
  } else if (data.size() == 3 && data[0] == kIplWrite && data[1] == 0x00 && ipl_step_ == 2) {
    ipl_step_ = 0;
    ipl_option_ = true;
  } else {
    return Refuse(frame);
  }
  return Accept(frame);
}

std::string IspResponder::HandleErase(const std::string& frame, const std::vector<uint8_t>& data) {
  if (family_ == 1) {
    if (data == std::vector<uint8_t>{kEraseChip}) {
      // The high region holds the boot code: only the IPL option opens it to erasing.
      Erase(0, ipl_option_ ? kProgramSize : kHighRegion);
      return Accept(frame);
    }
    if (data == std::vector<uint8_t>{kEraseFrom, kHighRegion >> 8} && ipl_option_) {
      Erase(kHighRegion, kProgramSize);
      return Accept(frame);
    }
    return Refuse(frame);
  }
  if (data == std::vector<uint8_t>{kEraseAll}) {
    Erase(0, kProgramSize);
    return Accept(frame);
  }
  if (data.size() == 3 && data[0] == kPageErase) {
    const auto page = static_cast<size_t>(data[1] << 8 | data[2]);
    if (page % kPageSize != 0 || page >= kProgramSize) return Refuse(frame);
    Erase(page, page + kPageSize);
    return Accept(frame);
  }
  return Refuse(frame);
}

std::string IspResponder::HandleData(const std::string& frame, uint16_t address,
                                     const std::vector<uint8_t>& data) {
  const size_t end = address + data.size();
  if (end > kProgramSize) return Refuse(frame);
  if (family_ == 1 && end > kHighRegion && !ipl_option_) return Refuse(frame);
  if (faults_.isp_unacknowledged_address == address) return Refuse(frame);
  // Programming clears bits only: what was not erased keeps its zeros.
  for (size_t i = 0; i < data.size(); ++i) state_.program[address + i] &= data[i];
  return Accept(frame);
}

std::string IspResponder::HandleReadBack(const std::string& frame,
                                         const std::vector<uint8_t>& data) {
  if (data.size() != 5) return Refuse(frame);
  const auto first = static_cast<size_t>(data[0] << 8 | data[1]);
  const auto last = static_cast<size_t>(data[2] << 8 | data[3]);
  if (last != first + kReadBackLength - 1 || last >= kProgramSize) return Refuse(frame);
  std::string reply = frame + ".";
  reply += HexPair(static_cast<uint8_t>(first >> 8)) + HexPair(static_cast<uint8_t>(first));
  reply += ' ';
  for (size_t a = first; a <= last; ++a) {
    uint8_t byte = state_.program[a];
    if (faults_.isp_mismatch_address == static_cast<int32_t>(a)) byte = static_cast<uint8_t>(~byte);
    reply += HexPair(byte);
  }
  return reply + "\r";
}

std::string IspResponder::HandleExit(const std::string& frame) {
  // The new firmware reports the revision it carries once the reader starts it.
  std::string revision;
  for (size_t i = 0; i < kRevisionLength; ++i) {
    revision.push_back(static_cast<char>(state_.program[kRevisionAddress + i]));
  }
  state_.revision = revision;
  state_.isp_mode = false;
  state_.command_mode = false;
  active_ = false;
  pending_.clear();
  return Accept(frame);
}

void IspResponder::Erase(size_t first, size_t end) {
  std::fill(state_.program.begin() + static_cast<std::ptrdiff_t>(first),
            state_.program.begin() + static_cast<std::ptrdiff_t>(end), uint8_t{0xFF});
}

}  // namespace pelgar::sim
