#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "device/DeviceSession.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"

namespace pelgar::device {

// Each exchange ends with the 500 ms of silence after the reply.
inline constexpr int64_t kExchangeMs = 500;

// Sessions with the in-process simulated reader on COM3, on virtual time.
class SessionTest : public ::testing::Test {
 protected:
  // A claimed session; the log and streams are cleared, so a test sees only its own work.
  std::unique_ptr<DeviceSession> Claimed() {
    auto session = std::make_unique<DeviceSession>(env_, "3", 19200);
    EXPECT_EQ(session->claimed, 1) << err();
    Clear();
    return session;
  }
  void Clear() {
    reader_.ClearLog();
    out_.str("");
    err_.str("");
  }
  // The frames the reader received, separated by blanks.
  std::string Sent() const {
    std::string sent;
    for (const std::string& f : reader_.received_frames()) sent += (sent.empty() ? "" : " ") + f;
    return sent;
  }
  std::string err() const { return err_.str(); }
  int64_t now() { return clock_.NowMs(); }

  sim::SimulatedReader reader_;
  platform::VirtualClock clock_;
  sim::InProcessPortFactory ports_{reader_, clock_};
  std::ostringstream out_, err_;
  DeviceEnvironment env_{ports_, clock_, out_, err_};
};

template <size_t N>
void Put(std::array<char, N>& field, const char* text) {
  field.fill('\0');
  std::strncpy(field.data(), text, N - 1);
}

}  // namespace pelgar::device
