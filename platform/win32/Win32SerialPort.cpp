#include "platform/win32/Win32SerialPort.h"

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX 1  // as libstdc++ defines it, so that either may come first
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/PortNames.h"
#include "platform/ReadTimeouts.h"
#include "platform/SystemPorts.h"
#include "platform/WaitHook.h"
#include "platform/win32/Win32Text.h"

namespace pelgar::platform {
namespace {

constexpr DWORD kMaxTransfer = 1u << 20;

HANDLE Handle(void* handle) { return static_cast<HANDLE>(handle); }

// Errors of a port whose device went away after it was opened: an unplugged USB adapter,
// a removed driver, Wine's link to a pseudo-terminal whose other side closed (not ready).
bool IsLostDevice(DWORD error) {
  switch (error) {
    case ERROR_BAD_COMMAND:
    case ERROR_ACCESS_DENIED:
    case ERROR_OPERATION_ABORTED:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_GEN_FAILURE:
    case ERROR_INVALID_HANDLE:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_IO_DEVICE:
    case ERROR_NOT_READY:
      return true;
    default:
      return false;
  }
}

bool IsTimeOut(DWORD error) { return error == ERROR_TIMEOUT || error == ERROR_SEM_TIMEOUT; }

// Sets the port to `baud`, 8N1, raw: binary, no parity check, no flow control in either
// direction, no byte dropped or replaced, and no error that stops the port until it is
// cleared. DTR and RTS stay as the driver has them.
bool Configure(HANDLE port, int32_t baud) {
  DCB dcb{};
  dcb.DCBlength = sizeof(dcb);
  if (!GetCommState(port, &dcb)) return false;
  char text[64];
  std::snprintf(text, sizeof(text), "baud=%li parity=N data=8 stop=1", static_cast<long>(baud));
  if (!BuildCommDCBA(text, &dcb)) return false;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;
  return SetCommState(port, &dcb) != FALSE;
}

// Real milliseconds left until `end`, whole ones rounded up so that a wait is never cut
// short, at most `most_ms` (a slice); 0 when the time has passed.
DWORD SliceUntil(std::chrono::steady_clock::time_point end, int64_t most_ms) {
  const auto left = end - std::chrono::steady_clock::now();
  if (left <= std::chrono::steady_clock::duration::zero()) return 0;
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return static_cast<DWORD>(std::min<int64_t>(ms, most_ms));
}

}  // namespace

Win32SerialPort::~Win32SerialPort() { Close(); }

OpenResult Win32SerialPort::Open(const std::string& name, int32_t baud) {
  if (handle_ != nullptr) return {OpenStatus::kBusy, "the port is already open"};
  if (!SystemHasBaudRate(baud)) {
    return {OpenStatus::kFailed, "unsupported baud rate " + std::to_string(baud)};
  }
  const std::string path = DevicePathForPort(name);
  if (path.empty()) return {OpenStatus::kNotFound, "not a port name"};

  HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return {OpenStatus::kNotFound, "no such port"};
    }
    // Without sharing, a port that another program holds refuses any further open.
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
      return {OpenStatus::kBusy, "the port is in use by another program"};
    }
    return {OpenStatus::kFailed, SystemMessage(error)};
  }
  DCB current{};
  current.DCBlength = sizeof(current);
  if (!GetCommState(port, &current)) {
    CloseHandle(port);
    return {OpenStatus::kFailed, "not a serial device"};
  }
  if (!Configure(port, baud)) {
    const DWORD error = GetLastError();
    CloseHandle(port);
    return {OpenStatus::kFailed,
            "cannot be set to " + std::to_string(baud) + " baud: " + SystemMessage(error)};
  }
  handle_ = port;
  hung_up_ = false;
  slice_ms_ = 0;
  if (!SetSlice(kWaitSliceMs)) {
    const DWORD error = GetLastError();
    Close();
    return {OpenStatus::kFailed, SystemMessage(error)};
  }
  // What arrived before this program took the port belongs to no command of it.
  PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
  return {OpenStatus::kOk, {}};
}

void Win32SerialPort::SetBaudRate(int32_t baud) {
  if (handle_ == nullptr || !SystemHasBaudRate(baud)) return;
  Configure(Handle(handle_), baud);
}

bool Win32SerialPort::SetSlice(unsigned long ms) {
  if (ms == slice_ms_) return true;
  // The interval and the read multiplier at their maximum make a read return at once with
  // what has arrived, or wait for the first byte at most the constant: a poll and a read in
  // one call. (Wine waits out the constant before it returns a part of what was asked: a
  // reply then arrives up to a slice late, never lost.)
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
  timeouts.ReadTotalTimeoutConstant = ms;
  timeouts.WriteTotalTimeoutMultiplier = 0;
  timeouts.WriteTotalTimeoutConstant = ms;
  if (!SetCommTimeouts(Handle(handle_), &timeouts)) return false;
  slice_ms_ = ms;
  return true;
}

size_t Win32SerialPort::ReadWithin(uint8_t* dest, size_t count, int64_t nominal_ms) {
  // The end is fixed on the steady clock first, so the slices and the hook that starts each
  // neither cut the wait nor lengthen it.
  const auto end =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(clock_.RealMs(nominal_ms));
  const DWORD asked = static_cast<DWORD>(std::min<size_t>(count, kMaxTransfer));
  for (;;) {
    const DWORD slice = SliceUntil(end, clock_.RunWaitHook());
    if (slice == 0) return 0;
    if (!SetSlice(slice)) {
      hung_up_ = true;
      return 0;
    }
    DWORD got = 0;
    if (!::ReadFile(Handle(handle_), dest, asked, &got, nullptr)) {
      if (IsTimeOut(GetLastError())) continue;
      hung_up_ = true;  // a read that fails cannot be told from a device that is gone
      return 0;
    }
    if (got > 0) return got;
    // A port whose device went away may still time out quietly (Wine's does, once the
    // pseudo-terminal behind it has closed), but it no longer answers for its status.
    COMSTAT status{};
    DWORD errors = 0;
    if (!ClearCommError(Handle(handle_), &errors, &status)) {
      hung_up_ = true;
      return 0;
    }
  }
}

size_t Win32SerialPort::Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) {
  if (handle_ == nullptr || hung_up_ || count == 0) return 0;
  ReadTimeouts timeouts(clock_, total_ms, interval_ms);
  size_t received = 0;
  while (received < count) {
    const int64_t wait = timeouts.Left();
    if (wait <= 0) break;
    const size_t got = ReadWithin(dest + received, count - received, wait);
    if (hung_up_) break;
    if (got > 0) {
      received += got;
      timeouts.GotBytes();
    }
  }
  return received;
}

bool Win32SerialPort::Write(const uint8_t* data, size_t count) {
  if (handle_ == nullptr || hung_up_) return false;
  using std::chrono::steady_clock;
  const auto stall = std::chrono::milliseconds(clock_.RealMs(kWriteStallMs));
  steady_clock::time_point give_up = steady_clock::now() + stall;
  size_t written = 0;
  while (written < count) {
    // A write waits too, for the line to take the bytes: at 1200 baud a long frame takes
    // most of a second.
    const DWORD slice = SliceUntil(give_up, clock_.RunWaitHook());
    if (slice == 0) return false;
    if (!SetSlice(slice)) {
      hung_up_ = true;
      return false;
    }
    const DWORD asked = static_cast<DWORD>(std::min<size_t>(count - written, kMaxTransfer));
    DWORD done = 0;
    if (!::WriteFile(Handle(handle_), data + written, asked, &done, nullptr)) {
      const DWORD error = GetLastError();
      if (!IsTimeOut(error)) {
        if (IsLostDevice(error)) hung_up_ = true;
        return false;
      }
    }
    if (done > 0) {
      written += done;
      give_up = steady_clock::now() + stall;
    }
  }
  return true;
}

void Win32SerialPort::Close() {
  if (handle_ != nullptr) CloseHandle(Handle(handle_));
  handle_ = nullptr;
  hung_up_ = false;
  slice_ms_ = 0;
}

}  // namespace pelgar::platform
