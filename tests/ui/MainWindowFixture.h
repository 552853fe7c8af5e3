#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "device/DeviceSession.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/CorruptingPortFactory.h"
#include "support/ScriptedMessageOutput.h"
#include "ui/ControlStore.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowIds.h"
#include "ui/MainWindowTemplate.h"

namespace pelgar::ui {

namespace id = main_id;

inline constexpr char kNotClaimed[] =
    "The MSR has not been claimed by the application.  Please be sure the COM port is not "
    "claimed by other applications.";

// The main window over a control store, a scripted user and a simulated reader on COM3,
// on virtual time.
class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override { Open(); }

  void Open(MainWindowSettings settings = {}) {
    window.reset();
    store = std::make_unique<ControlStore>(MainWindowTemplate());
    window = std::make_unique<MainWindow>(*store, messages, env, std::move(settings));
    window->OnInitDialog();
  }

  // The frames the reader received since the last call, without the session's own
  // enter, get-configuration, slide-switch and restore frames.
  std::vector<std::string> ActionFrames() {
    std::vector<std::string> frames;
    for (const std::string& frame : reader.received_frames()) {
      if (frame != ":0100001110DE" && frame != ":020000110200EB" && frame != ":0100001118D6" &&
          frame != ":0100001111DD") {
        frames.push_back(frame);
      }
    }
    reader.ClearLog();
    return frames;
  }

  std::string Text(int control) { return store->Text(control); }

  sim::SimulatedReader reader;
  platform::VirtualClock clock;
  sim::InProcessPortFactory sim_ports{reader, clock};
  testing::CorruptingPortFactory ports{sim_ports};
  std::ostringstream out;
  std::ostringstream err;
  device::DeviceEnvironment env{ports, clock, out, err};
  testing::ScriptedMessageOutput messages;
  std::unique_ptr<ControlStore> store;
  std::unique_ptr<MainWindow> window;
};

}  // namespace pelgar::ui
