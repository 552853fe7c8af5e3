#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/RecordingPorts.h"
#include "support/ScriptedMessageOutput.h"
#include "ui/host/ControlStore.h"
#include "ui/main/MainWindow.h"
#include "ui/main/MainWindowIds.h"
#include "ui/main/MainWindowTemplate.h"

namespace pelgar::ui {

namespace id = main_id;
using ::testing::ElementsAre;
using Lines = std::vector<std::string>;  // frames or messages
using Ids = std::initializer_list<int>;  // controls

// The not-claimed box: the words every version showed, then what can be fixed.
inline std::string NotClaimed(const std::string& cause) {
  return "Error!/00: The MSR has not been claimed by the application.  Please be sure the COM "
         "port is not claimed by other applications.\n\n" +
         cause;
}

// One '1' or '0' per control: checked, or enabled; a blank for kGap.
inline constexpr int kGap = 0;
inline std::string ChecksOf(const ControlStore& store, Ids ids) {
  std::string states;
  for (int id : ids) states += id == kGap ? ' ' : store.IsChecked(id) ? '1' : '0';
  return states;
}
inline std::string EnabledOf(const ControlStore& store, Ids ids) {
  std::string states;
  for (int id : ids) states += id == kGap ? ' ' : store.IsEnabled(id) ? '1' : '0';
  return states;
}

inline void ClickEach(ControlStore& store, Ids ids) {
  for (int id : ids) store.Click(id);
}

// The main window over a control store, a scripted user and a simulated reader on COM3.
class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture() { Open(); }
  void Open(MainWindowSettings settings = {}) {
    window.reset();
    store = std::make_unique<ControlStore>(MainWindowTemplate());
    window = std::make_unique<MainWindow>(messages, env, std::move(settings));
    store->SetEvents(window.get());
    window->OnOpening(*store);
  }
  // The frames the reader received since the last call, but those of claiming and letting go.
  Lines ActionFrames() {
    static const std::set<std::string> kSession = {":0100001110DE", ":020000110200EB",
                                                   ":0100001118D6", ":0100001111DD"};
    Lines frames;
    for (const std::string& frame : reader.received_frames()) {
      if (!kSession.contains(frame)) frames.push_back(frame);
    }
    reader.ClearLog();
    return frames;
  }
  void Click(Ids ids) { ClickEach(*store, ids); }
  std::string Text(int control) { return store->Text(control); }
  std::string Sentinels() {
    return Text(id::kSentinel1) + "|" + Text(id::kSentinel2) + "|" + Text(id::kSentinel3) + "|" +
           Text(id::kEndSentinel);
  }
  // The wrapper boxes as "head|tail checked enabled", e.g. "AB|C 11 11".
  std::string Wrappers() {
    return Text(id::kHeadText) + "|" + Text(id::kTailText) +
           Checks({kGap, id::kHeadWrapper, id::kTailWrapper, kGap}) +
           Enabled({id::kHeadText, id::kTailText});
  }
  std::string Checks(Ids ids) { return ChecksOf(*store, ids); }
  std::string Enabled(Ids ids) { return EnabledOf(*store, ids); }

  sim::SimulatedReader reader;
  platform::VirtualClock clock;
  sim::InProcessPortFactory sim_ports{reader, clock};
  testing::RecordingPorts ports{sim_ports};
  std::ostringstream out, err;
  device::DeviceEnvironment env{ports, clock, out, err};
  testing::ScriptedMessageOutput messages;
  std::unique_ptr<ControlStore> store;
  std::unique_ptr<MainWindow> window;
};

}  // namespace pelgar::ui
