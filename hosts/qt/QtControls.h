#pragma once

#include <QPointer>
#include <QWidget>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "ui/host/Controls.h"
#include "ui/host/DialogTemplate.h"

namespace pelgar::hosts::qt {

class QtHost;
class DialogWindow;

// The window logic's Controls over the widgets of one dialog. It keeps the same rules as
// the in-memory store, which the logic depends on:
// - a text the program writes into an edit notifies at once, as typing does, even when
//   the text does not change;
// - setting a check state never clicks; a click toggles first, then notifies;
// - a typing limit stops typing past it but never cuts a text that is already there;
// - a list's selection set by the program does not notify.
// Notifications that come from the user go through the host, which keeps them from running
// while another handler of the same window runs.
class QtControls : public ui::Controls {
 public:
  struct Entry {
    ui::ControlKind kind = ui::ControlKind::kStatic;
    QPointer<QWidget> widget;
    size_t limit = 0;
    std::string tooltip;
  };

  QtControls(QtHost& host, DialogWindow& window) : host_(host), window_(window) {}

  void Add(int id, ui::ControlKind kind, QWidget* widget, std::string tooltip);
  // The widget of a control id, or null.
  QWidget* Widget(int id) const;

  // Controls.
  void SetEvents(ui::ControlEvents* events) override { events_ = events; }
  bool IsChecked(int id) const override;
  void SetCheck(int id, bool checked) override;
  std::string GetText(int id, size_t max_chars) const override;
  void SetText(int id, std::string_view text) override;
  void Enable(int id, bool enabled) override;
  void SetLimit(int id, size_t max_chars) override;
  void Select(int id, int index) override;
  int Selected(int id) const override;
  void SetRange(int id, int low, int high) override;
  void SetPosition(int id, int position) override;
  void Focus(int id) override;
  void ActivateToolTips(int max_width_px) override;
  void Close(int result) override;

  // What the user did, from the widgets' signals: delivered through the host.
  void UserNotified(int id, ui::Notification notification);
  // Lets an edit take typing up to its limit, never below the text it holds, so that a
  // longer text the program wrote is not cut. Called whenever the text or the limit changes.
  void FitTypingLimit(int id);
  ui::ControlEvents* events() const { return events_; }

 private:
  const Entry* Find(int id) const;
  void Notify(int id, ui::Notification notification);

  QtHost& host_;
  DialogWindow& window_;
  std::map<int, Entry> entries_;
  ui::ControlEvents* events_ = nullptr;
};

// Every text that crosses the host contract passes here, and only here: the logic's texts
// are bytes 0x00-0xFF, one a character, as on the reader and in the files, shown as Latin-1.
// A character that Latin-1 lacks reads back as '?'.
QString FromBytes(std::string_view text);
std::string ToBytes(const QString& text);
// A chosen file's path, as the system's file functions take it (the locale's encoding).
std::string ToPath(const QString& path);

// Tip text broken into lines of at most `max_width_px` pixels in the tooltip font, keeping
// the tip's own line breaks.
QString WrapToolTip(const QString& tip, int max_width_px);

}  // namespace pelgar::hosts::qt
