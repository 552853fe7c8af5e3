#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "device/DeviceSession.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"

namespace pelgar::device {

// Sessions with the in-process simulated reader on COM3, on virtual time, both diagnostic
// streams captured.
class SessionTest : public ::testing::Test {
 protected:
  static constexpr int32_t kBaud = 19200;

  std::unique_ptr<DeviceSession> Open(std::string_view port_id = "3", int32_t baud = kBaud) {
    return std::make_unique<DeviceSession>(env_, port_id, baud);
  }
  // A claimed session; logs and streams are cleared, so a test sees only its own work.
  std::unique_ptr<DeviceSession> Claimed() {
    auto session = Open();
    EXPECT_EQ(session->claimed, 1) << err_.str();
    Clear();
    return session;
  }
  void Clear() {
    reader_.ClearLog();
    out_.str("");
    err_.str("");
  }

  const std::vector<std::string>& frames() const { return reader_.received_frames(); }
  // The frames the reader received, separated by blanks.
  std::string Sent() const {
    std::string sent;
    for (const std::string& frame : frames()) sent += (sent.empty() ? "" : " ") + frame;
    return sent;
  }
  std::string err() const { return err_.str(); }
  int64_t now() { return clock_.NowMs(); }

  sim::SimulatedReader reader_;
  platform::VirtualClock clock_;
  sim::InProcessPortFactory ports_{reader_, clock_};
  std::ostringstream out_;
  std::ostringstream err_;
  DeviceEnvironment env_{ports_, clock_, out_, err_};
};

// Each exchange ends with the 500 ms of silence after the reply.
inline constexpr int64_t kExchangeMs = 500;

template <size_t N>
void Put(std::array<char, N>& field, const char* text) {
  field.fill('\0');
  std::strncpy(field.data(), text, N - 1);
}

}  // namespace pelgar::device
