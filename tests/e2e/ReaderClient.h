#pragma once

#include <cstdint>
#include <string>

namespace pelgar::e2e {

// A deliberately separate, minimal host: its own terminal set-up, its own frames and
// checksums, nothing from device/ or platform/. It is what proves that pelgar-sim speaks
// the protocol, not merely the same dialect as our host code.
class ReaderClient {
 public:
  // `silence_ms` real milliseconds without a byte end a reply.
  explicit ReaderClient(int silence_ms) : silence_ms_(silence_ms) {}
  ~ReaderClient();
  ReaderClient(const ReaderClient&) = delete;
  ReaderClient& operator=(const ReaderClient&) = delete;

  bool Open(const std::string& device, int baud);
  void Close();
  // Writes `frame` and returns everything that comes back until the line is silent;
  // gives up when nothing at all comes within `first_byte_ms` real milliseconds.
  std::string Exchange(const std::string& frame, int first_byte_ms = 2000);
  // Bytes that arrive within `wait_ms` real milliseconds, then until silence.
  std::string ReadFor(int wait_ms);

  // ":" + body + checksum, the checksum in capitals; body is the hex text after ":".
  static std::string Frame(const std::string& body);
  // The byte that two hex characters at `position` of `reply` spell.
  static int ByteAt(const std::string& reply, size_t position);

 private:
  int fd_ = -1;
  int silence_ms_;
};

}  // namespace pelgar::e2e
