#include "sim/SimulatedReader.h"

#include <utility>

namespace pelgar::sim {
namespace {

constexpr std::string_view kAccept = ".";
constexpr std::string_view kRefusal = "?X";
// Stray bytes of the noise fault, chosen to be neither "." nor ":" nor "X".
constexpr std::string_view kNoiseBefore = "\xFF~";
constexpr std::string_view kNoiseAfter = "~\xFF";
// The long-replies fault pads a reply to this many characters, beyond the 99 that a
// host reply buffer holds.
constexpr size_t kLongReplyLength = 130;

}  // namespace

SimulatedReader::SimulatedReader() : commands_(state_), isp_(state_, faults_) {}

SimulatedReader::SimulatedReader(ReaderState initial)
    : state_(std::move(initial)), commands_(state_), isp_(state_, faults_) {}

std::vector<ReplyChunk> SimulatedReader::Receive(std::string_view bytes, int32_t baud) {
  if (state_.isp_mode) {
    Tell(Received::kIsp, bytes);
    return isp_.Receive(bytes, baud);
  }
  if (baud != state_.baud) {
    // Garbled on the line: neither these bytes nor a frame begun before them can be read.
    Drop(pending_.size());
    dropped_.append(bytes);
    TellDropped();
    return {};
  }
  return ReceiveCommandBytes(bytes);
}

void SimulatedReader::Tell(Received kind, std::string_view bytes) {
  if (on_received && !bytes.empty()) on_received(kind, bytes);
}

void SimulatedReader::Drop(size_t count) {
  dropped_.append(pending_, 0, count);
  pending_.erase(0, count);
}

void SimulatedReader::TellDropped() {
  Tell(Received::kUnparsed, dropped_);
  dropped_.clear();
}

std::vector<ReplyChunk> SimulatedReader::Idle() {
  if (state_.isp_mode) return isp_.Idle();
  return {};
}

std::vector<ReplyChunk> SimulatedReader::ReceiveCommandBytes(std::string_view bytes) {
  pending_.append(bytes);
  std::vector<ReplyChunk> replies;
  std::string frame;
  while (NextFrame(&frame)) {
    TellDropped();
    Tell(Received::kFrame, frame);
    std::vector<ReplyChunk> reply = HandleFrame(frame);
    replies.insert(replies.end(), reply.begin(), reply.end());
    if (state_.isp_mode) {
      isp_.Begin();
      // The rest of what arrived is for the ISP side already.
      std::string rest = std::exchange(pending_, {});
      Tell(Received::kIsp, rest);
      if (!rest.empty()) {
        std::vector<ReplyChunk> isp = isp_.Receive(rest, state_.baud);
        replies.insert(replies.end(), isp.begin(), isp.end());
      }
      break;
    }
  }
  TellDropped();
  return replies;
}

bool SimulatedReader::NextFrame(std::string* frame) {
  for (;;) {
    // Anything before a colon is line noise to the reader.
    size_t start = pending_.find(':');
    Drop(start == std::string::npos ? pending_.size() : start);
    if (pending_.size() < 3) return false;
    int high = HexDigitValue(pending_[1]);
    int low = HexDigitValue(pending_[2]);
    if (high < 0 || low < 0) {
      Drop(1);  // no length to frame it by: look for the next colon
      continue;
    }
    const int length = high * 16 + low;
    const size_t needed = HexRecord::TextLength(static_cast<size_t>(length));
    // A colon inside the frame means the frame was cut short and a new one began.
    size_t next = pending_.find(':', 1);
    if (next != std::string::npos && next < needed) {
      Drop(next);
      continue;
    }
    if (pending_.size() < needed) return false;
    *frame = pending_.substr(0, needed);
    pending_.erase(0, needed);
    return true;
  }
}

bool SimulatedReader::Refuses(const HexRecord& record) const {
  if (!record.checksum_ok) return true;
  if (!faults_.reject) return false;
  // The reject fault refuses commands but still lets the reader change mode, so that a
  // host sees its command refused rather than a silent reader.
  const uint8_t code = record.data.empty() ? 0 : record.data[0];
  return code != kEnterCommandMode && code != kRestoreFunctionalMode;
}

std::vector<ReplyChunk> SimulatedReader::HandleFrame(const std::string& frame) {
  frames_.push_back(frame);
  ++frames_seen_;
  if (faults_.silent) return {};
  if (faults_.silent_after_frames >= 0 && frames_seen_ > faults_.silent_after_frames) return {};

  HexRecord record;
  if (!HexRecord::Parse(frame, &record) || Refuses(record)) {
    if (!state_.command_mode) return {};
    return WithLineFaults({{0, frame + std::string(kRefusal)}});
  }
  CommandOutcome outcome = commands_.Handle(record);
  switch (outcome.kind) {
    case CommandOutcome::Kind::kIgnored:
      return {};
    case CommandOutcome::Kind::kRefused:
      return WithLineFaults({{0, frame + std::string(kRefusal)}});
    case CommandOutcome::Kind::kAccepted:
      break;
  }
  if (outcome.commit && faults_.late_commit_ms > 0) {
    return WithLineFaults({{0, frame}, {faults_.late_commit_ms, std::string(kAccept)}});
  }
  return WithLineFaults({{0, frame + std::string(kAccept) + outcome.record}});
}

std::vector<ReplyChunk> SimulatedReader::WithLineFaults(std::vector<ReplyChunk> chunks) const {
  if (faults_.long_replies) {
    // A talkative reader: more characters than a reply buffer holds, ending with the
    // character its reply always ends with (a commit's final ".").
    std::string& first = chunks.front().bytes;
    static constexpr char kFiller[] = "0123456789ABCDEF";
    std::string filler;
    for (size_t i = 0; first.size() + filler.size() < kLongReplyLength; ++i) {
      filler += kFiller[i % 16];
    }
    // A frame may already be longer than the padding target: then there is nothing to add.
    if (!first.empty() && !filler.empty()) filler.back() = first.back();
    first += filler;
  }
  if (faults_.noise) {
    chunks.front().bytes.insert(0, kNoiseBefore);
    chunks.back().bytes.append(kNoiseAfter);
  }
  return chunks;
}

}  // namespace pelgar::sim
