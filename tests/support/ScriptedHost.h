#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "support/ScriptedMessageOutput.h"
#include "ui/host/ControlStore.h"
#include "ui/host/HostServices.h"

namespace pelgar::testing {

// The host services but the wait hook, with a scripted user: the desktop hosts' reference,
// and the host of the window tests, end-to-end tests and benchmarks.
//
// RunModal builds the dialog on a control store, opens it, plays the user queued for that
// dialog (if any), then fires its timer every interval on the clock until it is killed
// (at most `max_timer_firings` times), presses Escape if the dialog is still open and closes
// it. The last store of each dialog stays readable afterwards.
//
// `events` logs what the window frame saw: "T" per timer firing, "-"/"+" per change of the
// close item, "!" for a timer left running when the dialog closed.
class ScriptedHost : public ui::DialogHost,
                     public ui::WindowTimer,
                     public ui::CloseItem,
                     public ui::FileDialogs,
                     public ui::MessageBoxService,
                     public ScriptedAnswers {
 public:
  using User = std::function<void(ui::ControlStore&)>;

  explicit ScriptedHost(platform::Clock& clock) : clock_(clock) {}

  // Queues what the user does the next time dialog `dialog_id` opens.
  void Then(int dialog_id, User user) { users_[dialog_id].push_back(std::move(user)); }
  // The store of the dialog's last opening, or null.
  ui::ControlStore* Last(int dialog_id) {
    auto it = stores_.find(dialog_id);
    return it == stores_.end() ? nullptr : it->second.get();
  }

  int RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) override {
    auto store = std::make_unique<Store>(dialog, *this);
    Store& window = *store;
    stores_[dialog.id] = std::move(store);
    window.SetEvents(&logic);
    logic.OnOpening(window);
    auto& queued = users_[dialog.id];
    if (!queued.empty() && !window.closed()) {
      User user = std::move(queued.front());
      queued.pop_front();
      user(window);
    }
    for (int fired = 0; timer_ != nullptr && !window.closed() && fired < max_timer_firings;
         ++fired) {
      clock_.SleepMs(interval_ms_);
      events += "T";
      ui::TimerEvents* target = timer_;
      int timer_id = timer_id_;
      auto fire = [target, timer_id] { target->OnTimer(timer_id); };
      around_timer ? around_timer(fire) : fire();
    }
    if (!window.closed()) window.PressEscape();
    logic.OnClosed();
    if (timer_ != nullptr) events += "!";
    timer_ = nullptr;
    window.SetEvents(nullptr);
    return window.result();
  }

  void SetTimer(int timer_id, int64_t interval_ms, ui::TimerEvents& target) override {
    timer_id_ = timer_id;
    interval_ms_ = interval_ms;
    timer_ = &target;
  }
  void KillTimer(int timer_id) override {
    if (timer_id == timer_id_) timer_ = nullptr;
  }
  void EnableClose(bool enabled) override { events += enabled ? "+" : "-"; }

  std::optional<std::string> Choose(const ui::FileDialogRequest& asked) override {
    request = asked;
    return choice;
  }

  // Boxes as ScriptedAnswers records them; the program's own box has no caption.
  int ShowBox(std::string_view text, std::string_view caption, unsigned type) override {
    return Record(std::string(caption) + "/", text, type);
  }
  int ShowApplicationBox(std::string_view text, unsigned type) override {
    return Record("", text, type);
  }

  // What the program wrote into a control, in order (texts, and progress positions).
  std::map<int, std::vector<std::string>> texts;
  std::map<int, std::vector<int>> positions;
  std::map<int, std::pair<int, int>> ranges;

  std::optional<std::string> choice;  // nothing: the user cancels
  std::optional<ui::FileDialogRequest> request;
  // Runs each timer event, for a caller that measures or watches it.
  std::function<void(const std::function<void()>& fire)> around_timer;
  std::string events;
  // A second firing shows whether the handler re-entered; none: dismissed before the timer.
  int max_timer_firings = 2;

 private:
  // A control store that tells the host what the program writes.
  class Store : public ui::ControlStore {
   public:
    Store(const ui::DialogTemplate& dialog, ScriptedHost& host)
        : ControlStore(dialog), host_(host) {}
    void SetText(int id, std::string_view text) override {
      host_.texts[id].emplace_back(text);
      ControlStore::SetText(id, text);
    }
    void SetRange(int id, int low, int high) override {
      host_.ranges[id] = {low, high};
      ControlStore::SetRange(id, low, high);
    }
    void SetPosition(int id, int position) override {
      host_.positions[id].push_back(position);
      ControlStore::SetPosition(id, position);
    }

   private:
    ScriptedHost& host_;
  };

  platform::Clock& clock_;
  std::map<int, std::deque<User>> users_;
  std::map<int, std::unique_ptr<Store>> stores_;
  ui::TimerEvents* timer_ = nullptr;
  int timer_id_ = 0;
  int64_t interval_ms_ = 0;
};

}  // namespace pelgar::testing
