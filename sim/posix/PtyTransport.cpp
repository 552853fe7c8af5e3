#include "sim/posix/PtyTransport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/PortNames.h"
#include "platform/WireTrace.h"
#include "platform/posix/PosixSerialPort.h"
#include "sim/posix/PortEntry.h"

namespace pelgar::sim {
namespace {

// How long the line must be quiet after the host wrote before the reader calls it idle
// (nominal ms): long against a pseudo-terminal's delivery, short against the 500 ms a
// host waits for a reply.
constexpr double kIdleGapMs = 20;
constexpr double kMinIdleGapRealMs = 2;
constexpr int kMaxPollMs = 20;
constexpr double kSweepEveryMs = 10;
constexpr size_t kReadChunk = 4096;
constexpr size_t kMaxLoggedFrames = 10000;

}  // namespace

PtyTransport::PtyTransport(SimulatedReader& reader, platform::RealClock& clock)
    : reader_(reader), clock_(clock) {
  reader_.on_received = [this](SimulatedReader::Received kind, std::string_view bytes) {
    if (!trace) return;
    switch (kind) {
      case SimulatedReader::Received::kFrame:
        Trace("<-", bytes);
        break;
      case SimulatedReader::Received::kUnparsed:
        Trace("<- unparsed", bytes, rate_note_);
        break;
      case SimulatedReader::Received::kIsp:
        Trace("<- isp", bytes);
        break;
    }
  };
}

PtyTransport::~PtyTransport() {
  Close();
  reader_.on_received = nullptr;
}

double PtyTransport::NowMs() const {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double, std::milli>(since).count();
}

double PtyTransport::ByteMs(int32_t baud) const {
  if (baud <= 0) baud = reader_.state().baud;
  return 10.0 * 1000.0 / static_cast<double>(baud) / clock_.scale();
}

bool PtyTransport::Open(const std::string& port_name, std::string* error) {
  Close();
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    *error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    Close();
    return false;
  }
  char name[128];
  if (::ptsname_r(master_, name, sizeof name) != 0) {
    *error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
    Close();
    return false;
  }
  device_path_ = name;
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  keeper_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  probe_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (keeper_ < 0 || probe_ < 0) {
    *error = device_path_ + ": " + std::strerror(errno);
    Close();
    return false;
  }
  // Raw from the start: a terminal in its default mode would echo the reader's replies
  // back to it before any host has set the line up.
  termios tio{};
  if (::tcgetattr(keeper_, &tio) == 0) {
    ::cfmakeraw(&tio);
    unsigned speed = platform::BaudConstant(reader_.state().baud);
    if (speed != 0) {
      ::cfsetispeed(&tio, speed);
      ::cfsetospeed(&tio, speed);
    }
    ::tcsetattr(keeper_, TCSANOW, &tio);
  }
  if (!CreatePortEntry(port_name, device_path_, &entry_path_, error)) {
    Close();
    return false;
  }
  started_ms_ = NowMs();
  line_free_ms_ = started_ms_;
  return true;
}

void PtyTransport::Close() {
  if (!entry_path_.empty()) RemovePortEntry(entry_path_, device_path_);
  entry_path_.clear();
  for (int* fd : {&probe_, &keeper_, &master_}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  outgoing_.clear();
}

int32_t PtyTransport::HostBaud() const {
  termios tio{};
  if (master_ < 0 || ::tcgetattr(master_, &tio) != 0) return 0;
  speed_t speed = ::cfgetospeed(&tio);
  for (int32_t rate : platform::kPortBaudRates) {
    if (platform::BaudConstant(rate) == speed) return rate;
  }
  return 0;
}

void PtyTransport::Run(const std::atomic<bool>& stop) {
  while (!stop.load() && master_ >= 0) {
    SendDue();
    ReleaseStaleExclusion();
    const double now = NowMs();
    double wait = std::min<double>(kMaxPollMs, NextWakeMs() - now);
    pollfd entry{master_, POLLIN, 0};
    int ready = ::poll(&entry, 1, static_cast<int>(std::ceil(std::max(0.0, wait))));
    if (ready < 0 && errno != EINTR) break;
    if (ready > 0 && (entry.revents & POLLIN) != 0) ReceiveAvailable();
    if (idle_due_ &&
        NowMs() >= last_receive_ms_ + std::max(kIdleGapMs / clock_.scale(), kMinIdleGapRealMs)) {
      idle_due_ = false;
      Schedule(reader_.Idle(), NowMs());
    }
  }
}

void PtyTransport::ReceiveAvailable() {
  char buffer[kReadChunk];
  ssize_t n = ::read(master_, buffer, sizeof buffer);
  if (n <= 0) return;
  const double now = NowMs();
  const int32_t baud = HostBaud();
  std::string_view bytes(buffer, static_cast<size_t>(n));
  // Bytes at another rate than the reader's are garbled on a real line: the trace says so.
  rate_note_.clear();
  if (!reader_.state().isp_mode && baud != reader_.state().baud) {
    rate_note_ = " (at " + std::to_string(baud) + " baud; the reader runs at " +
                 std::to_string(reader_.state().baud) + ")";
  }
  std::vector<ReplyChunk> replies = reader_.Receive(bytes, baud);
  if (reader_.received_frames().size() > kMaxLoggedFrames) reader_.ClearLog();
  // The reader has the bytes once they have crossed the line at the host's rate.
  Schedule(replies, now + static_cast<double>(n) * ByteMs(baud));
  last_receive_ms_ = now;
  idle_due_ = true;
  if (after_receive) after_receive();
}

void PtyTransport::Schedule(const std::vector<ReplyChunk>& chunks, double ready_ms) {
  for (const ReplyChunk& chunk : chunks) {
    if (chunk.bytes.empty()) continue;
    Outgoing out{ready_ms + static_cast<double>(clock_.RealMs(chunk.delay_ms)), chunk.bytes};
    auto position =
        std::upper_bound(outgoing_.begin(), outgoing_.end(), out.start_ms,
                         [](double t, const Outgoing& entry) { return t < entry.start_ms; });
    outgoing_.insert(position, std::move(out));
  }
}

void PtyTransport::SendDue() {
  const double now = NowMs();
  const double byte_ms = ByteMs(HostBaud());
  while (!outgoing_.empty()) {
    Outgoing& out = outgoing_.front();
    // One transmitter: a chunk starts when the previous one has left.
    const double start = std::max(out.start_ms, line_free_ms_);
    if (start > now) return;
    if (out.sent == 0 && trace) Trace("->", out.bytes);
    size_t due = std::min(out.bytes.size(), static_cast<size_t>((now - start) / byte_ms) + 1);
    if (due > out.sent) {
      ssize_t n = ::write(master_, out.bytes.data() + out.sent, due - out.sent);
      // A full or vanished line loses what does not fit, as a serial line would.
      out.sent = n > 0 ? out.sent + static_cast<size_t>(n) : due;
    }
    if (out.sent < out.bytes.size()) return;
    line_free_ms_ = start + static_cast<double>(out.bytes.size()) * byte_ms;
    outgoing_.pop_front();
  }
}

double PtyTransport::NextWakeMs() const {
  double next = NowMs() + kMaxPollMs;
  if (!outgoing_.empty()) {
    const Outgoing& out = outgoing_.front();
    const double start = std::max(out.start_ms, line_free_ms_);
    next = std::min(next, start + static_cast<double>(out.sent) * ByteMs(HostBaud()));
  }
  if (idle_due_) {
    next =
        std::min(next, last_receive_ms_ + std::max(kIdleGapMs / clock_.scale(), kMinIdleGapRealMs));
  }
  return next;
}

// A host locks the port with TIOCEXCL, which the kernel clears only when the last handle
// of the terminal closes; ours never does. Once no host holds its lock any more, the
// exclusion is lifted here, so that the next host can open the port.
void PtyTransport::ReleaseStaleExclusion() {
  const double now = NowMs();
  if (now - last_sweep_ms_ < kSweepEveryMs) return;
  last_sweep_ms_ = now;
  int exclusive = 0;
  if (::ioctl(keeper_, TIOCGEXCL, &exclusive) != 0 || exclusive == 0) return;
  if (::flock(probe_, LOCK_EX | LOCK_NB) != 0) return;  // a host still holds the port
  ::ioctl(keeper_, TIOCNXCL);
  ::flock(probe_, LOCK_UN);
}

void PtyTransport::Trace(const char* direction, std::string_view bytes, const std::string& note) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "[%10.3f] ", (NowMs() - started_ms_) / 1000.0);
  trace(stamp + std::string(direction) + " " + platform::WireTrace::Escape(bytes) + note);
}

}  // namespace pelgar::sim
