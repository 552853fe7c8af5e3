#include "UpdateWindowSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ui/UpdateWindowIds.h"

namespace pelgar::ui::testing {
ShownMessage Box(std::string text, std::string caption, unsigned type) {
  return {false, std::move(text), std::move(caption), type};
}

ShownMessage Plain(std::string text) { return {true, std::move(text), {}, 0}; }

int ScriptedMessages::ShowMessage(std::string_view text, std::string_view caption, unsigned type) {
  shown.push_back({false, std::string(text), std::string(caption), type});
  if ((type & 0x0F) != box::kYesNo) return answer::kOk;
  if (answers.empty()) return answer::kNo;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

int ScriptedMessages::ShowPlainMessage(std::string_view text, unsigned type, unsigned help_id) {
  EXPECT_EQ(type, box::kOk);
  EXPECT_EQ(help_id, 0u);
  shown.push_back({true, std::string(text), {}, type});
  return answer::kOk;
}

void RecordingStore::SetText(int id, std::string_view text) {
  if (id == kStatusLineId) statuses_.emplace_back(text);
  ControlStore::SetText(id, text);
}

void RecordingStore::SetRange(int id, int low, int high) {
  if (id == kProgressBarId) range_ = {low, high};
  ControlStore::SetRange(id, low, high);
}

void RecordingStore::SetPosition(int id, int position) {
  if (id == kProgressBarId) positions_.push_back(position);
  ControlStore::SetPosition(id, position);
}

int ScriptedWindow::RunModal(const DialogTemplate& dialog, DialogLogic& logic) {
  ++shown;
  title = dialog.title;
  RecordingStore store(dialog, statuses, positions, range);
  store.SetEvents(&logic);
  logic.OnOpening(store);
  if (dismiss_before_timer) {
    store.PressEscape();
  } else {
    // The host's event loop: the timer fires until it is killed (a second firing would
    // run the update twice, which the logic must not let happen).
    for (int fired = 0; timer_ && fired < 2; ++fired) {
      clock_.SleepMs(timer_->interval_ms);
      ++timer_fires;
      timer_->target->OnTimer(timer_->id);
    }
    if (!store.closed()) store.PressEscape();
  }
  logic.OnClosed();
  timer_left_running = timer_.has_value();
  store.SetEvents(nullptr);
  return store.result();
}

void ScriptedWindow::SetTimer(int timer_id, int64_t interval_ms, TimerEvents& target) {
  timer_ = Timer{timer_id, interval_ms, &target};
}

void ScriptedWindow::KillTimer(int timer_id) {
  if (timer_ && timer_->id == timer_id) timer_.reset();
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "pelgar_update_window" /
                              (std::string(test->test_suite_name()) + "." + test->name());
  std::filesystem::create_directories(dir);
  std::filesystem::path path = dir / name;
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

UpdateRig::UpdateRig(std::string_view reader_revision) {
  reader.state().revision = std::string(reader_revision);
  reader.state().program.fill(0x00);
}

int UpdateRig::Update(const firmware::FirmwareImage& image, const std::string& file_name) {
  files.choice = WriteTempFile(file_name, pelgar::testing::ToHexText(image));
  updater.SetPort("COM3", "19200");
  return updater.DoModal();
}

}  // namespace pelgar::ui::testing
