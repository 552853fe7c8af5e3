#include "platform/posix/PosixSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/PortNames.h"
#include "platform/ReadTimeouts.h"
#include "platform/WaitHook.h"

namespace pelgar::platform {
namespace {

OpenResult Failure(OpenStatus status, const std::string& path, int error) {
  std::string detail;
  switch (status) {
    case OpenStatus::kNotFound:
      detail = path.empty() ? "no device is configured for this port"
                            : path + ": no such device (see PELGAR_PORT_DIR)";
      break;
    case OpenStatus::kBusy:
      detail = path + ": the port is in use by another program";
      break;
    case OpenStatus::kPermissionDenied:
      detail = path + ": permission denied (is the user in the dialout group?)";
      break;
    default:
      detail = path + ": " + std::strerror(error);
      break;
  }
  return {status, detail};
}

}  // namespace

unsigned BaudConstant(int32_t baud) {
  // The system's setting for each rate of kPortBaudRates, in the same order.
  constexpr std::array<speed_t, kPortBaudRates.size()> kSettings = {
      B1200, B2400, B4800, B9600, B19200, B38400, B57600, B115200};
  for (size_t i = 0; i < kPortBaudRates.size(); ++i) {
    if (kPortBaudRates[i] == baud) return kSettings[i];
  }
  return 0;
}

PosixSerialPort::~PosixSerialPort() { Close(); }

OpenResult PosixSerialPort::Open(const std::string& name, int32_t baud) {
  if (fd_ >= 0) return {OpenStatus::kBusy, "the port is already open"};
  if (BaudConstant(baud) == 0) {
    return {OpenStatus::kFailed, "unsupported baud rate " + std::to_string(baud)};
  }
  std::string path = DevicePathForPort(name);
  if (path.empty()) return Failure(OpenStatus::kNotFound, path, ENOENT);

  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    int error = errno;
    if (error == ENOENT || error == ENXIO || error == ENODEV) {
      return Failure(OpenStatus::kNotFound, path, error);
    }
    if (error == EBUSY) return Failure(OpenStatus::kBusy, path, error);
    if (error == EACCES || error == EPERM) {
      return Failure(OpenStatus::kPermissionDenied, path, error);
    }
    return Failure(OpenStatus::kFailed, path, error);
  }
  if (!isatty(fd)) {
    ::close(fd);
    return {OpenStatus::kFailed, path + ": not a serial device"};
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    ::close(fd);
    return Failure(error == EWOULDBLOCK ? OpenStatus::kBusy : OpenStatus::kFailed, path, error);
  }
  ::ioctl(fd, TIOCEXCL);

  termios tio{};
  if (tcgetattr(fd, &tio) == 0) {
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &tio);
  }
  fd_ = fd;
  hung_up_ = false;
  SetBaudRate(baud);
  tcflush(fd_, TCIOFLUSH);
  return {OpenStatus::kOk, {}};
}

void PosixSerialPort::SetBaudRate(int32_t baud) {
  if (fd_ < 0) return;
  unsigned speed = BaudConstant(baud);
  termios tio{};
  if (speed == 0 || tcgetattr(fd_, &tio) != 0) return;
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  tcsetattr(fd_, TCSADRAIN, &tio);
}

bool PosixSerialPort::WaitFor(short events, int64_t nominal_ms) {
  // The end is fixed on the steady clock first, and ppoll() waits to the nanosecond, so the
  // slices and the hook that starts each neither cut the wait nor lengthen it. A poll never
  // outlasts one slice, so the window is repainted meanwhile.
  using std::chrono::nanoseconds;
  using std::chrono::steady_clock;
  const steady_clock::time_point end =
      steady_clock::now() + std::chrono::milliseconds(clock_.RealMs(nominal_ms));
  for (;;) {
    const nanoseconds most = std::chrono::milliseconds(clock_.RunWaitHook());
    const nanoseconds left = end - steady_clock::now();
    if (left <= nanoseconds::zero()) return false;
    const nanoseconds slice = std::min(left, most);
    const timespec timeout{0, static_cast<long>(slice.count())};
    pollfd entry{fd_, events, 0};
    const int ready = ::ppoll(&entry, 1, &timeout, nullptr);
    if (ready < 0 && errno != EINTR) {
      hung_up_ = true;
      return false;
    }
    if (ready > 0) {
      if ((entry.revents & events) != 0) return true;
      // POLLHUP or POLLERR without data: the device is gone.
      if ((entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) hung_up_ = true;
      return false;
    }
  }
}

size_t PosixSerialPort::Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) {
  if (fd_ < 0 || hung_up_ || count == 0) return 0;
  ReadTimeouts timeouts(clock_, total_ms, interval_ms);
  size_t received = 0;
  while (received < count) {
    const int64_t wait = timeouts.Left();
    if (wait <= 0) break;
    if (!WaitFor(POLLIN, wait)) {
      if (hung_up_) break;
      continue;  // the loop recomputes what is left of the time-outs
    }
    ssize_t n = ::read(fd_, dest + received, count - received);
    if (n > 0) {
      received += static_cast<size_t>(n);
      timeouts.GotBytes();
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
      hung_up_ = true;  // end of file on a tty, or EIO from a pty whose master went away
      break;
    }
  }
  return received;
}

bool PosixSerialPort::Write(const uint8_t* data, size_t count) {
  if (fd_ < 0 || hung_up_) return false;
  size_t written = 0;
  while (written < count) {
    ssize_t n = ::write(fd_, data + written, count - written);
    if (n > 0) {
      written += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {
      // The driver's buffer is full; a reader that drains nothing for a while is gone.
      if (!WaitFor(POLLOUT, kWriteStallMs)) return false;
    } else {
      if (n < 0 && (errno == EIO || errno == ENXIO)) hung_up_ = true;
      return false;
    }
  }
  return true;
}

void PosixSerialPort::Close() {
  if (fd_ >= 0) {
    // The kernel clears the exclusion only at the device's last close; a simulator keeps
    // its side open, so lift it here or the next program could never open the port.
    ::ioctl(fd_, TIOCNXCL);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
  fd_ = -1;
  hung_up_ = false;
}

}  // namespace pelgar::platform
