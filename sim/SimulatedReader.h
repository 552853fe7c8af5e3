#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Faults.h"
#include "sim/IspResponder.h"
#include "sim/ReaderCommands.h"
#include "sim/ReaderState.h"
#include "sim/ReplyChunk.h"

namespace pelgar::sim {

// The reader's side of the command protocol, written independently of the host code so
// that a framing mistake on either side shows up instead of being mirrored.
//
// Every reply starts with the echo of the frame. An accepted command adds "." and then a
// reply record (":" length 0000 11 data checksum) that puts each value where the host
// reads it. A refused command (bad checksum, unknown code, bad parameters, the reject
// fault) adds "?X" instead of ".". In functional mode the reader answers only the enter
// and restore frames and ignores every other frame without a reply.
class SimulatedReader {
 public:
  SimulatedReader();
  explicit SimulatedReader(ReaderState initial);
  SimulatedReader(const SimulatedReader&) = delete;
  SimulatedReader& operator=(const SimulatedReader&) = delete;

  ReaderState& state() { return state_; }
  const ReaderState& state() const { return state_; }
  Faults& faults() { return faults_; }

  // Bytes the host wrote, at the rate the host's port is set to. Returns what the reader
  // sends back. Frames may arrive split across calls; the partial frame is kept.
  std::vector<ReplyChunk> Receive(std::string_view bytes, int32_t baud);
  // The line has been quiet after the host wrote (see IspResponder::Idle). Transports
  // call it after every write (in-process) or after a short quiet gap (pseudo-terminal).
  std::vector<ReplyChunk> Idle();

  // Every complete frame received, exactly as the host sent it.
  const std::vector<std::string>& received_frames() const { return frames_; }
  void ClearLog() { frames_.clear(); }

  // What became of the bytes received, for a trace that shows every one of them: a frame,
  // bytes that the reader could not frame and dropped (noise, a frame cut short by the
  // next one, anything at a rate the reader does not run at), or bytes for the ISP side.
  // A frame still incomplete is told once it completes or is dropped.
  enum class Received { kFrame, kUnparsed, kIsp };
  std::function<void(Received, std::string_view)> on_received;

 private:
  std::vector<ReplyChunk> ReceiveCommandBytes(std::string_view bytes);
  // Cuts the next complete frame off the pending bytes; false when there is none yet.
  bool NextFrame(std::string* frame);
  void Drop(size_t count);
  void Tell(Received kind, std::string_view bytes);
  void TellDropped();
  std::vector<ReplyChunk> HandleFrame(const std::string& frame);
  bool Refuses(const HexRecord& record) const;
  std::vector<ReplyChunk> WithLineFaults(std::vector<ReplyChunk> chunks) const;

  ReaderState state_;
  Faults faults_;
  ReaderCommands commands_;
  IspResponder isp_;
  std::string pending_;              // a frame not yet complete
  std::string dropped_;              // bytes dropped since the last frame, not yet told
  std::vector<std::string> frames_;  // the log of complete frames
  int frames_seen_ = 0;              // for silent_after_frames; survives ClearLog
};

}  // namespace pelgar::sim
