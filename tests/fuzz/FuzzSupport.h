#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/SerialPort.h"

// What the harnesses share: a stream that swallows everything, and a reader whose replies
// are the fuzzer's bytes.
namespace pelgar::fuzz {

// A run per input must not print: libFuzzer's own output is what a developer reads. A stream
// without a buffer drops what is written to it.
inline std::ostream& NullStream() {
  static std::ostream stream(nullptr);
  return stream;
}

// For code that writes its diagnostics to the standard streams itself.
inline void SilenceStandardStreams() {
  std::cout.rdbuf(nullptr);
  std::cerr.rdbuf(nullptr);
}

// Ports whose every write is answered with the next line of the input (without its line
// feed); an empty line is a reader that stays silent, and each "~" in a line is a pause of
// one read's time-out, so a reply can come late. A silent read lets its whole time-out pass
// on the clock, which should be a virtual one, so that a silent or endless reader costs no
// real time. Once the input is used up, or after kSilentReadsBeforeGone silent reads in a
// row, the reader is gone as if unplugged: the code's waits of thousands of reads (the
// commit's) would otherwise take the fuzzer's time without reaching anything new.
class FuzzedReplyPorts : public platform::PortFactory {
 public:
  static constexpr int kSilentReadsBeforeGone = 64;

  FuzzedReplyPorts(std::string_view replies, platform::Clock& clock)
      : replies_(replies), clock_(clock) {}

  std::unique_ptr<platform::SerialPort> Create() override { return std::make_unique<Port>(*this); }

 private:
  class Port : public platform::SerialPort {
   public:
    explicit Port(FuzzedReplyPorts& owner) : owner_(owner) {}
    platform::OpenResult Open(const std::string&, int32_t) override {
      return {platform::OpenStatus::kOk, {}};
    }
    void SetBaudRate(int32_t) override {}
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      if (HungUp()) return 0;
      if (pending_.empty() || pending_.front() == kPause) {
        if (!pending_.empty()) pending_.remove_prefix(1);
        ++silent_reads_;
        owner_.clock_.SleepMs(total_ms);
        return 0;
      }
      const size_t n = std::min({count, pending_.size(), pending_.find(kPause)});
      std::copy_n(pending_.begin(), n, dest);
      pending_.remove_prefix(n);
      silent_reads_ = 0;
      // A reply that never pauses would keep a reader waiting: let a little time pass.
      owner_.clock_.SleepMs(std::min<int64_t>(interval_ms, 1));
      return n;
    }
    bool Write(const uint8_t*, size_t) override {
      if (HungUp()) return false;
      pending_ = owner_.NextReply();
      silent_reads_ = 0;
      return true;
    }
    bool HungUp() const override {
      return (owner_.replies_.empty() && pending_.empty()) ||
             silent_reads_ >= kSilentReadsBeforeGone;
    }
    void Close() override {}

   private:
    FuzzedReplyPorts& owner_;
    std::string_view pending_;
    int silent_reads_ = 0;
  };

  static constexpr char kPause = '~';

  std::string_view NextReply() {
    const size_t end = std::min(replies_.find('\n'), replies_.size());
    const std::string_view reply = replies_.substr(0, end);
    replies_.remove_prefix(std::min(end + 1, replies_.size()));
    return reply;
  }

  std::string_view replies_;
  platform::Clock& clock_;
};

}  // namespace pelgar::fuzz
