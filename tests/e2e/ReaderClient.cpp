#include "ReaderClient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

namespace pelgar::e2e {
namespace {

speed_t Speed(int baud) {
  switch (baud) {
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    default:
      return B0;
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

ReaderClient::~ReaderClient() { Close(); }

bool ReaderClient::Open(const std::string& device, int baud) {
  Close();
  fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) return false;
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) return false;
  ::cfmakeraw(&tio);
  ::cfsetispeed(&tio, Speed(baud));
  ::cfsetospeed(&tio, Speed(baud));
  ::tcsetattr(fd_, TCSANOW, &tio);
  ::tcflush(fd_, TCIOFLUSH);
  return true;
}

void ReaderClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::string ReaderClient::ReadFor(int wait_ms) {
  std::string reply;
  int wait = wait_ms;
  for (;;) {
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, wait) <= 0 || (entry.revents & POLLIN) == 0) break;
    char buffer[256];
    ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n <= 0) break;
    reply.append(buffer, static_cast<size_t>(n));
    wait = silence_ms_;
  }
  return reply;
}

std::string ReaderClient::Exchange(const std::string& frame, int first_byte_ms) {
  if (fd_ < 0 || ::write(fd_, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) {
    return "<write failed>";
  }
  return ReadFor(first_byte_ms);
}

std::string ReaderClient::Frame(const std::string& body) {
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < body.size(); i += 2) {
    sum += static_cast<unsigned>(HexValue(body[i]) * 16 + HexValue(body[i + 1]));
  }
  char checksum[3];
  std::snprintf(checksum, sizeof checksum, "%02X", (0x100 - sum % 0x100) % 0x100);
  return ":" + body + checksum;
}

int ReaderClient::ByteAt(const std::string& reply, size_t position) {
  if (position + 1 >= reply.size()) return -1;
  int high = HexValue(reply[position]);
  int low = HexValue(reply[position + 1]);
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}

}  // namespace pelgar::e2e
