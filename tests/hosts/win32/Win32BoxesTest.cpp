// The platform's message boxes and file dialogs as the program asks for them, answered by a
// timer of the test's thread from inside their own loops.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "hosts/win32/DialogWindow.h"
#include "hosts/win32/Win32FileDialogs.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32MessageBoxes.h"
#include "hosts/win32/Win32Window.h"
#include "support/TestEnvironment.h"
#include "tests/hosts/win32/Win32TestUser.h"
#include "ui/host/MessageOutput.h"
#include "ui/main/AboutBox.h"

namespace pelgar::hosts::win32 {
namespace {

// The file name field of the platform's file dialogs, old and new.
constexpr int kFileNameEdit = 0x480;
constexpr int kFileNameCombo = 0x47C;

// Runs `answer` on the next dialog this thread shows (a box or a file dialog), from a timer
// that its own message loop delivers.
class NextDialog {
 public:
  explicit NextDialog(std::function<void(HWND)> answer) {
    pending_answer = std::move(answer);
    timer_ = SetTimer(nullptr, 0, 50, &NextDialog::Tick);
  }
  ~NextDialog() { KillTimer(nullptr, timer_); }
  NextDialog(const NextDialog&) = delete;
  NextDialog& operator=(const NextDialog&) = delete;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
          char name[16] = {};
          GetClassNameA(window, name, sizeof name);
          if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
          *reinterpret_cast<HWND*>(result) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    if (found != nullptr && pending_answer) std::exchange(pending_answer, nullptr)(found);
  }

  static inline std::function<void(HWND)> pending_answer;
  UINT_PTR timer_ = 0;
};

// The box's caption and buttons, after pressing `press`.
std::string Answer(HWND box, int press) {
  std::string seen = testing::TextOf(box);
  for (const auto& [button, name] : {std::pair{IDOK, "ok"}, {IDYES, "yes"}, {IDNO, "no"}}) {
    if (GetDlgItem(box, button) != nullptr) seen += std::string("|") + name;
  }
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), 0);
  return seen;
}

// Over the window on top, which takes no input meanwhile, a box shows the caption and buttons
// asked for and hands back the platform's answer.
TEST(Win32MessageBoxes, ShowWhatIsAskedOverTheWindowOnTopAndAnswerAsThePlatform) {
  Win32Host host;
  Win32MessageBoxes boxes(host);
  const struct {
    unsigned type;
    std::string caption;
    int press;
    int result;
    std::string seen;
  } cases[] = {
      {ui::box::kYesNo | ui::box::kIconExclamation, "Warning!", IDNO, ui::answer::kNo,
       "Warning!|yes|no"},
      // No caption of the caller's: the platform's own.
      {ui::box::kOk, "", IDOK, ui::answer::kOk, "Error|ok"},
  };
  ui::AboutBox logic;
  int answered = 0;
  host.on_shown = [&](DialogWindow& window) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.seen);
      std::string seen;
      NextDialog next([&](HWND box) {
        EXPECT_EQ(GetWindow(box, GW_OWNER), window.hwnd());
        EXPECT_FALSE(IsWindowEnabled(window.hwnd()));
        seen = Answer(box, c.press);
        ++answered;
      });
      EXPECT_EQ(boxes.ShowBox("text", c.caption, c.type), c.result);
      EXPECT_EQ(seen, c.seen);
    }
    window.controls().Close(0);
  };
  host.RunModal(ui::AboutBoxTemplate(), logic);
  EXPECT_EQ(answered, 2);
}

// The dialog gets the request's title and filters, and hands back what the user chose; a
// cancelled dialog chooses nothing.
TEST(Win32FileDialogs, ChooseTheTypedPathOrNothing) {
  platform::TempDir dir;
  const std::string path = dir.Put("CONFIG.DAT", "x");
  Win32Host host;
  Win32FileDialogs files(host);
  ui::FileDialogRequest request;
  request.title = "Load Saved Config";
  request.filters = {{"All", "*.*"}, {"Text", "*.TXT"}};
  request.must_exist = true;
  std::string title;
  {
    NextDialog next([&](HWND dialog) {
      title = testing::TextOf(dialog);
      SetDlgItemTextA(dialog, kFileNameEdit, path.c_str());
      SetDlgItemTextA(dialog, kFileNameCombo, path.c_str());
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_EQ(files.Choose(request), path);
  }
  EXPECT_EQ(title, request.title);
  NextDialog cancel([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(files.Choose(request), std::nullopt);
}

}  // namespace
}  // namespace pelgar::hosts::win32
