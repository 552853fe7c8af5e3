#include "hosts/win32/Win32Controls.h"

#include <algorithm>
#include <string>
#include <vector>

#include "hosts/win32/DialogResource.h"
#include "hosts/win32/DialogWindow.h"

namespace pelgar::hosts::win32 {
namespace {

using ui::ControlKind;
using ui::Notification;

// How long a tip stays up: the longest tips are several lines a technician reads through.
constexpr int kTipShownMs = 30000;

std::string ListEntry(HWND list, LRESULT index) {
  LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  length = SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(text.data()));
  text.resize(length == CB_ERR ? 0 : static_cast<size_t>(length));
  return text;
}

}  // namespace

void Win32Controls::Attach(HWND dialog, const ui::DialogTemplate& dialog_template) {
  hwnd_ = dialog;
  for (const ui::ControlTemplate& control : dialog_template.controls) {
    if (control.id == ui::kNoControlId) continue;
    HWND window = GetDlgItem(dialog, control.id);
    if (window == nullptr) continue;
    if (control.kind == ControlKind::kDropList) {
      for (const std::string& item : ui::ListEntries(control)) {
        SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      }
    }
    entries_[control.id] = Entry{control.kind, window, control.tooltip};
  }
}

const Win32Controls::Entry* Win32Controls::Find(int id) const {
  auto it = entries_.find(id);
  return it == entries_.end() ? nullptr : &it->second;
}

HWND Win32Controls::Window(int id) const {
  const Entry* entry = Find(id);
  return entry == nullptr ? nullptr : entry->window;
}

bool Win32Controls::OnCommand(int id, int code, HWND control) {
  const Entry* entry = Find(id);
  if (entry == nullptr || entry->window != control) return false;
  switch (entry->kind) {
    case ControlKind::kCheckBox:
    case ControlKind::kPushButton:
      // An automatic check box has toggled before it says so.
      if (code == BN_CLICKED) dialog_.Deliver(id, Notification::kClicked);
      return true;
    case ControlKind::kEdit:
      if (code == EN_MAXTEXT) {
        // Wine's edit says "changed" after refusing a character past the typing limit, where
        // the platform says nothing: a character not taken is no change.
        refused_edit_ = control;
        refused_text_ = GetText(id, std::string::npos);
      } else if (code == EN_CHANGE && control != writing_) {
        const bool refused =
            control == refused_edit_ && GetText(id, std::string::npos) == refused_text_;
        refused_edit_ = nullptr;
        if (!refused) dialog_.Deliver(id, Notification::kChanged);
      }
      return true;
    case ControlKind::kDropList:
      if (code == CBN_SELCHANGE) dialog_.Deliver(id, Notification::kSelectionChanged);
      return true;
    default:
      return true;
  }
}

void Win32Controls::Notify(int id, Notification notification) {
  if (events_ != nullptr) events_->OnControl(id, notification);
}

bool Win32Controls::IsChecked(int id) const {
  const Entry* entry = Find(id);
  return entry != nullptr && entry->kind == ControlKind::kCheckBox &&
         SendMessageA(entry->window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Controls::SetCheck(int id, bool checked) {
  const Entry* entry = Find(id);
  if (entry == nullptr || entry->kind != ControlKind::kCheckBox) return;
  SendMessageA(entry->window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string Win32Controls::GetText(int id, size_t max_chars) const {
  const Entry* entry = Find(id);
  if (entry == nullptr) return {};
  std::string text;
  if (entry->kind == ControlKind::kDropList) {
    LRESULT selected = SendMessageA(entry->window, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) text = ListEntry(entry->window, selected);
  } else {
    const int length = GetWindowTextLengthA(entry->window);
    text.assign(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    const int copied = GetWindowTextA(entry->window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(copied, 0)));
  }
  // What a buffer of max_chars + 1 characters would have taken.
  if (text.size() > max_chars) text.resize(max_chars);
  return text;
}

void Win32Controls::SetText(int id, std::string_view text) {
  const Entry* entry = Find(id);
  if (entry == nullptr) return;
  const std::string value(text);
  switch (entry->kind) {
    case ControlKind::kDropList: {
      // A drop-down list shows only its entries: writing a text selects the one that
      // matches exactly (the platform's own search ignores case).
      const LRESULT count = SendMessageA(entry->window, CB_GETCOUNT, 0, 0);
      for (LRESULT index = 0; index < count; ++index) {
        if (ListEntry(entry->window, index) == value) {
          SendMessageA(entry->window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
          break;
        }
      }
      return;
    }
    case ControlKind::kEdit: {
      // The platform may or may not say "changed" for a text that stays the same; the logic
      // hears of every write exactly once, as it would of typing.
      HWND outer = writing_;
      writing_ = entry->window;
      SetWindowTextA(entry->window, value.c_str());
      writing_ = outer;
      Notify(id, Notification::kChanged);
      return;
    }
    case ControlKind::kProgressBar:
      return;
    default:
      SetWindowTextA(entry->window, value.c_str());
      return;
  }
}

void Win32Controls::Enable(int id, bool enabled) {
  if (HWND window = Window(id)) EnableWindow(window, enabled ? TRUE : FALSE);
}

void Win32Controls::SetLimit(int id, size_t max_chars) {
  const Entry* entry = Find(id);
  if (entry == nullptr || entry->kind != ControlKind::kEdit) return;
  // The limit binds typing only: the text there and what the program writes stay whole.
  SendMessageA(entry->window, EM_LIMITTEXT, static_cast<WPARAM>(ui::EditLimit(max_chars)), 0);
}

void Win32Controls::Select(int id, int index) {
  const Entry* entry = Find(id);
  if (entry == nullptr || entry->kind != ControlKind::kDropList) return;
  // An index outside the list clears the selection.
  const LRESULT count = SendMessageA(entry->window, CB_GETCOUNT, 0, 0);
  const bool inside = index >= 0 && index < count;
  SendMessageA(entry->window, CB_SETCURSEL, static_cast<WPARAM>(inside ? index : -1), 0);
}

int Win32Controls::Selected(int id) const {
  const Entry* entry = Find(id);
  if (entry == nullptr || entry->kind != ControlKind::kDropList) return -1;
  const LRESULT selected = SendMessageA(entry->window, CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void Win32Controls::SetRange(int id, int low, int high) {
  const Entry* entry = Find(id);
  if (entry == nullptr || entry->kind != ControlKind::kProgressBar) return;
  SendMessageA(entry->window, PBM_SETRANGE32, static_cast<WPARAM>(low),
               static_cast<LPARAM>(std::max(low, high)));
}

void Win32Controls::SetPosition(int id, int position) {
  const Entry* entry = Find(id);
  if (entry == nullptr || entry->kind != ControlKind::kProgressBar) return;
  // The bar keeps the position inside its range itself.
  SendMessageA(entry->window, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Win32Controls::Focus(int id) {
  // As the dialog manager moves the focus: an edit's text is selected on the way.
  if (HWND window = Window(id)) {
    SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
  }
}

void Win32Controls::ActivateToolTips(int max_width_px) {
  if (tooltip_ != nullptr || hwnd_ == nullptr) return;
  // Owned by the dialog, so it goes with it.
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (tooltip_ == nullptr) return;
  // A width makes tips wrap there, and keep their own line breaks.
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, max_width_px);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownMs);
  for (const auto& [id, entry] : entries_) {
    if (entry.tooltip.empty()) continue;
    std::wstring tip = Widen(entry.tooltip);
    TTTOOLINFOW info{};
    // The size both generations of the common controls take.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(entry.window);
    info.lpszText = tip.data();  // copied by the tooltip control
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

void Win32Controls::Close(int result) { dialog_.RequestClose(result); }

}  // namespace pelgar::hosts::win32
