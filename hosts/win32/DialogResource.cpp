#include "hosts/win32/DialogResource.h"

#include "hosts/win32/Win32Window.h"

namespace pelgar::hosts::win32 {
namespace {

using ui::ControlKind;

// The predefined classes, as ordinals of a dialog item.
constexpr uint16_t kButtonClass = 0x0080;
constexpr uint16_t kEditClass = 0x0081;
constexpr uint16_t kStaticClass = 0x0082;
constexpr uint16_t kComboBoxClass = 0x0085;
constexpr uint16_t kOrdinal = 0xFFFF;

class Writer {
 public:
  void Word(uint16_t value) { words_.push_back(value); }
  void Dword(uint32_t value) {
    Word(static_cast<uint16_t>(value & 0xFFFF));
    Word(static_cast<uint16_t>(value >> 16));
  }
  void Short(int value) { Word(static_cast<uint16_t>(static_cast<int16_t>(value))); }
  void String(std::string_view text) {
    for (wchar_t c : Widen(text)) Word(static_cast<uint16_t>(c));
    Word(0);
  }
  void WideString(const wchar_t* text) {
    for (; *text != L'\0'; ++text) Word(static_cast<uint16_t>(*text));
    Word(0);
  }
  void AlignToDword() {
    if (words_.size() % 2 != 0) Word(0);
  }
  // The item count sits at a fixed place of the header, written once the items are.
  void Patch(size_t index, uint16_t value) { words_[index] = value; }
  size_t size() const { return words_.size(); }
  std::vector<uint16_t> Take() { return std::move(words_); }

 private:
  std::vector<uint16_t> words_;
};

uint32_t KindStyle(const ui::ControlTemplate& control) {
  const unsigned flags = control.style;
  switch (control.kind) {
    case ControlKind::kCheckBox:
      return BS_AUTOCHECKBOX;
    case ControlKind::kPushButton:
      return (flags & ui::style::kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    case ControlKind::kEdit:
      return ES_LEFT | ES_AUTOHSCROLL | WS_BORDER |
             ((flags & ui::style::kReadOnly) ? ES_READONLY : 0);
    case ControlKind::kDropList:
      // Unsorted: the entries are added in ui::ListEntries' order, the same on every host.
      return CBS_DROPDOWNLIST | WS_VSCROLL;
    case ControlKind::kGroupBox:
      return BS_GROUPBOX;
    case ControlKind::kStatic:
      // The program writes file names and the reader's texts here: an ampersand is a
      // character, not a mnemonic.
      return SS_LEFT | SS_NOPREFIX | ((flags & ui::style::kSunken) ? SS_SUNKEN : 0);
    case ControlKind::kIcon:
      return SS_ICON;
    case ControlKind::kProgressBar:
      return WS_BORDER;
  }
  return 0;
}

}  // namespace

std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}

uint32_t ControlStyle(const ui::ControlTemplate& control) {
  uint32_t style = WS_CHILD | KindStyle(control);
  if (ui::TakesTab(control)) style |= WS_TABSTOP;
  if (!(control.style & ui::style::kHidden)) style |= WS_VISIBLE;
  if (control.style & ui::style::kDisabled) style |= WS_DISABLED;
  return style;
}

std::vector<uint16_t> BuildDialogResource(const ui::DialogTemplate& dialog) {
  Writer out;
  uint32_t style =
      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
  if (dialog.minimize_box) style |= WS_MINIMIZEBOX;
  if (dialog.maximize_box) style |= WS_MAXIMIZEBOX;
  out.Dword(style);
  out.Dword(0);  // extended style
  const size_t count_at = out.size();
  out.Word(0);  // the item count, patched below
  out.Short(0);
  out.Short(0);
  out.Short(dialog.width);
  out.Short(dialog.height);
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.String(dialog.title);
  out.Word(static_cast<uint16_t>(dialog.font_size));
  out.String(dialog.font_name);

  uint16_t count = 0;
  for (const ui::ControlTemplate& control : dialog.controls) {
    out.AlignToDword();
    out.Dword(ControlStyle(control));
    out.Dword(0);
    out.Short(control.rect.x);
    out.Short(control.rect.y);
    out.Short(control.rect.width);
    out.Short(control.rect.height);
    out.Word(static_cast<uint16_t>(control.id));
    switch (control.kind) {
      case ControlKind::kCheckBox:
      case ControlKind::kPushButton:
      case ControlKind::kGroupBox:
        out.Word(kOrdinal);
        out.Word(kButtonClass);
        break;
      case ControlKind::kEdit:
        out.Word(kOrdinal);
        out.Word(kEditClass);
        break;
      case ControlKind::kDropList:
        out.Word(kOrdinal);
        out.Word(kComboBoxClass);
        break;
      case ControlKind::kStatic:
      case ControlKind::kIcon:
        out.Word(kOrdinal);
        out.Word(kStaticClass);
        break;
      case ControlKind::kProgressBar:
        out.WideString(PROGRESS_CLASSW);
        break;
    }
    if (control.kind == ControlKind::kIcon) {
      // The static loads the icon from the program's resources by this name.
      ui::IconName icon = ui::IconResource(control.text);
      if (icon.id != 0) {
        out.Word(kOrdinal);
        out.Word(static_cast<uint16_t>(icon.id));
      } else {
        out.String(icon.name);
      }
    } else if (control.kind == ControlKind::kDropList ||
               control.kind == ControlKind::kProgressBar) {
      out.Word(0);  // entries are added once the dialog exists
    } else {
      out.String(control.text);
    }
    out.Word(0);  // no creation data
    ++count;
  }
  out.Patch(count_at, count);
  return out.Take();
}

}  // namespace pelgar::hosts::win32
