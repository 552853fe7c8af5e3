#include "UpdateTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "firmware/UpdateWindowIds.h"

namespace pelgar::firmware::testing {
namespace {

class RecordingPort : public platform::SerialPort {
 public:
  RecordingPort(std::unique_ptr<platform::SerialPort> inner, RecordingPorts& log,
                platform::Clock& clock)
      : inner_(std::move(inner)), log_(log), clock_(clock) {}

  platform::OpenResult Open(const std::string& name, int32_t baud) override {
    baud_ = baud;
    return inner_->Open(name, baud);
  }
  void SetBaudRate(int32_t baud) override {
    baud_ = baud;
    inner_->SetBaudRate(baud);
  }
  size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
    return inner_->Read(dest, count, total_ms, interval_ms);
  }
  bool Write(const uint8_t* data, size_t count) override {
    log_.writes.push_back(
        {clock_.NowMs(), baud_, std::string(reinterpret_cast<const char*>(data), count)});
    return inner_->Write(data, count);
  }
  bool HungUp() const override { return inner_->HungUp(); }
  void Close() override { inner_->Close(); }

 private:
  std::unique_ptr<platform::SerialPort> inner_;
  RecordingPorts& log_;
  platform::Clock& clock_;
  int32_t baud_ = 0;
};

}  // namespace

std::unique_ptr<platform::SerialPort> RecordingPorts::Create() {
  return std::make_unique<RecordingPort>(inner_.Create(), *this, clock_);
}

std::vector<std::string> RecordingPorts::Frames() const {
  std::vector<std::string> frames;
  for (const HostWrite& write : writes) frames.push_back(write.bytes);
  return frames;
}

ShownMessage Box(std::string text, std::string caption, unsigned type) {
  return {false, std::move(text), std::move(caption), type};
}

ShownMessage Plain(std::string text) { return {true, std::move(text), {}, 0}; }

int ScriptedMessages::ShowMessage(std::string_view text, std::string_view caption, unsigned type) {
  shown.push_back({false, std::string(text), std::string(caption), type});
  if ((type & 0x0F) != ui::box::kYesNo) return ui::answer::kOk;
  if (answers.empty()) return ui::answer::kNo;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

int ScriptedMessages::ShowPlainMessage(std::string_view text, unsigned type, unsigned help_id) {
  EXPECT_EQ(type, ui::box::kOk);
  EXPECT_EQ(help_id, 0u);
  shown.push_back({true, std::string(text), {}, type});
  return ui::answer::kOk;
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

int ScriptedWindow::RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) {
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

FirmwareImage MakeImage(std::string_view revision, size_t low_bytes, size_t high_bytes,
                        uint8_t seed) {
  FirmwareImage image;
  image.fill(kNoCode);
  // Never 0xFF, so every line with code is programmed.
  auto value = [seed](size_t i) { return static_cast<uint8_t>((i * 7 + seed) % 0xFF); };
  for (size_t i = 0; i < low_bytes; ++i) image[i] = value(i);
  for (size_t i = 0; i < high_bytes; ++i) image[kImageSize - high_bytes + i] = value(i + 3);
  for (size_t i = 0; i < revision.size(); ++i) image[0x1FE0 + i] = revision[i];
  return image;
}

std::string ToHexText(const FirmwareImage& image) {
  std::string text;
  char pair[16];
  for (size_t line = 0; line < kImageSize; line += 16) {
    bool code = false;
    for (size_t i = 0; i < 16; ++i) code = code || image[line + i] != kNoCode;
    if (!code) continue;
    std::snprintf(pair, sizeof pair, ":10%04zX00", line);
    text += pair;
    unsigned sum = 0x10 + (line >> 8) + (line & 0xFF);
    for (size_t i = 0; i < 16; ++i) {
      std::snprintf(pair, sizeof pair, "%02X", image[line + i]);
      text += pair;
      sum += image[line + i];
    }
    std::snprintf(pair, sizeof pair, "%02X\r\n", (0x100 - (sum & 0xFF)) & 0xFF);
    text += pair;
  }
  return text + ":00000001FF\r\n";
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "pelgar_firmware" /
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

int UpdateRig::Update(const FirmwareImage& image, const std::string& file_name) {
  files.choice = WriteTempFile(file_name, ToHexText(image));
  updater.SetPort("COM3", "19200");
  return updater.DoModal();
}

}  // namespace pelgar::firmware::testing
