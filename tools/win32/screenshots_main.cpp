// pelgar-screenshots.exe: saves each of Pelgar's windows, as the Win32 host shows them, into
// 24-bit BMP files, against the in-process simulated reader: the main window after Get
// Config and with a tip showing, the about box, the enhanced configuration window and the
// update window midway.
//   pelgar-screenshots DIR
// scripts/screenshots-windows.sh runs it under Wine and turns the pictures into PNGs.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/Desktop.h"
#include "hosts/win32/DialogWindow.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"
#include "support/FirmwareImages.h"
#include "tools/AutoUser.h"
#include "tools/ScreenshotReader.h"
#include "ui/enhanced/EnhancedConfigIds.h"
#include "ui/main/AboutBoxIds.h"
#include "ui/main/MainWindowIds.h"
#include "ui/update/UpdateWindowIds.h"

namespace {

using pelgar::hosts::win32::DialogWindow;
using pelgar::hosts::win32::Win32Host;
namespace id = pelgar::ui::main_id;

// Copies what the screen shows in `rect` into a 24-bit BMP file.
bool SaveScreen(const RECT& rect, const std::string& path) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file keeps its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, picture);
  const bool copied =
      BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
  GdiFlush();
  const auto stride = static_cast<size_t>((width * 3 + 3) & ~3);
  const auto size = stride * static_cast<size_t>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + size);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(size));
  const bool saved = copied && out.good();
  SelectObject(memory, previous);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

// The window, frame and all, as the screen shows it once it has been painted afresh.
bool SaveWindow(HWND window, const std::string& path) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT rect;
  GetWindowRect(window, &rect);
  return SaveScreen(rect, path);
}

// Grabs the update window once its progress bar is halfway, from inside the waits.
class Midway : public pelgar::platform::WaitHook {
 public:
  Midway(Win32Host& host, std::string path) : host_(host), path_(std::move(path)) {}
  void OnWait() override {
    host_.OnWait();
    DialogWindow* top = host_.top();
    if (done_ || top == nullptr || top->dialog_template().id != pelgar::ui::update_id::kDialog) {
      return;
    }
    HWND bar = top->controls().Window(pelgar::ui::update_id::kProgressBar);
    const LRESULT low = SendMessageW(bar, PBM_GETRANGE, TRUE, 0);
    const LRESULT high = SendMessageW(bar, PBM_GETRANGE, FALSE, 0);
    const LRESULT position = SendMessageW(bar, PBM_GETPOS, 0, 0);
    if (high > low && (position - low) * 2 >= high - low) done_ = SaveWindow(top->hwnd(), path_);
  }
  bool done() const { return done_; }

 private:
  Win32Host& host_;
  std::string path_;
  bool done_ = false;
};

// Runs the window's own loop until `done` says so, or for ten seconds at most.
template <class Done>
void LoopUntil(HWND dialog, Done done) {
  const UINT_PTR ticker = SetTimer(nullptr, 0, 50, nullptr);
  const ULONGLONG deadline = GetTickCount64() + 10000;
  MSG message;
  while (!done() && GetTickCount64() < deadline && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  KillTimer(nullptr, ticker);
}

// Lets the window paint whatever is still pending before it is grabbed. A while, not a
// number of messages: under Wine the window reaches the X server's screen, which the
// pictures are taken from, some time after it has painted.
void Settle(HWND dialog) {
  const ULONGLONG until = GetTickCount64() + 300;
  LoopUntil(dialog, [until] { return GetTickCount64() >= until; });
}

// A control's tip as the user sees it when resting on the control: the mouse there, a
// move that the tooltip control hears of, and its delay; saved with the window around it.
bool SaveToolTip(DialogWindow& window, int control, const std::string& path) {
  HWND target = window.controls().Window(control);
  HWND tip = window.controls().tooltip();
  if (target == nullptr || tip == nullptr) return false;
  RECT place;
  GetWindowRect(target, &place);
  SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
  PostMessageW(target, WM_MOUSEMOVE, 0,
               MAKELPARAM((place.right - place.left) / 2, (place.bottom - place.top) / 2));
  LoopUntil(window.hwnd(), [tip] { return IsWindowVisible(tip) != FALSE; });
  Settle(window.hwnd());
  RECT shown, tip_place;
  GetWindowRect(window.hwnd(), &shown);
  GetWindowRect(tip, &tip_place);
  UnionRect(&shown, &shown, &tip_place);
  const bool saved = IsWindowVisible(tip) && SaveScreen(shown, path);
  SendMessageW(tip, TTM_POP, 0, 0);
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pelgar-screenshots DIR\n";
    return 2;
  }
  const std::string dir = argv[1];
  auto bmp = [&dir](const char* name) { return dir + "\\" + name + ".bmp"; };

  pelgar::tools::ScreenshotReader reader;

  Win32Host host;
  pelgar::tools::AutoUser user;
  user.file = dir + "\\screenshots-firmware.hex";
  std::ofstream(user.file, std::ios::binary)
      << pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 2.31", 0x2000, 0));
  Midway midway(host, bmp("update-window"));
  int saved = 0;
  host.on_shown = [&](DialogWindow& window) {
    HWND hwnd = window.hwnd();
    Settle(hwnd);
    switch (window.dialog_template().id) {
      case id::kDialog:
        SendMessageW(window.controls().Window(id::kGetConfig), BM_CLICK, 0, 0);
        Settle(hwnd);
        saved += SaveWindow(hwnd, bmp("main-window"));
        saved += SaveToolTip(window, id::kGetConfig, bmp("tooltip"));
        SendMessageW(hwnd, WM_SYSCOMMAND, id::kAboutCommand, 0);
        SendMessageW(hwnd, WM_SYSCOMMAND, id::kEnhancedWindowCommand, 0);
        SendMessageW(window.controls().Window(id::kFirmwareUpdate), BM_CLICK, 0, 0);
        break;
      case pelgar::ui::about_id::kDialog:
        saved += SaveWindow(hwnd, bmp("about-box"));
        break;
      case pelgar::ui::enhanced_id::kDialog:
        saved += SaveWindow(hwnd, bmp("enhanced-window"));
        break;
      case pelgar::ui::update_id::kDialog:
        // The update runs in the window's timer; the window can close once it has said so.
        LoopUntil(hwnd, [&user] { return !user.shown.empty(); });
        break;
      default:
        break;
    }
    // As the user closes each window, through its logic.
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  };
  pelgar::app::RunSettings settings;
  pelgar::ui::HostServices services{host, host, host, user, user, midway};
  pelgar::app::Desktop desktop(settings, services, reader.env, reader.out);
  desktop.Run();
  saved += midway.done();
  std::remove(user.file.c_str());
  std::cout << "pelgar-screenshots: " << saved << " of 5 pictures saved in " << dir << "\n";
  return saved == 5 ? 0 : 1;
}
