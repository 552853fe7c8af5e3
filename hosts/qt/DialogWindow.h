#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "hosts/qt/QtControls.h"
#include "ui/host/DialogLogic.h"
#include "ui/host/DialogTemplate.h"

namespace pelgar::hosts::qt {

class QtHost;

// One modal dialog built from its template. Enter arrives at the logic as a click on
// kIdOk; Escape, Alt+F4 and the close box as a click on kIdCancel, unless the close item
// is disabled. The logic alone ends the dialog, through Controls::Close.
//
// Window managers here give an application no system menu of its own, so the window offers
// one as a popup: Close, then the template's items. It opens on a right click on the
// background, and from the keyboard on Alt+Space, Shift+F10 and the Menu key whatever has
// the focus (QtHost catches those keys before any control sees them). While the close item
// is off the menu is refused, as the platform greys its Close.
class DialogWindow : public QDialog {
 public:
  DialogWindow(QtHost& host, const ui::DialogTemplate& dialog, ui::DialogLogic& logic,
               QWidget* parent);
  ~DialogWindow() override;

  QtControls& controls() { return *controls_; }
  const ui::DialogTemplate& dialog_template() const { return dialog_; }
  ui::DialogLogic& logic() { return logic_; }

  // Handler depth: > 0 while the logic runs one of this window's notifications.
  int busy_depth() const { return busy_depth_; }
  void Enter() { ++busy_depth_; }
  void Leave() { --busy_depth_; }

  void SetCloseEnabled(bool enabled) { close_enabled_ = enabled; }
  bool close_enabled() const { return close_enabled_; }

  // Controls::Close: ends the dialog once the running handler returns.
  void RequestClose(int result);
  bool close_requested() const { return close_requested_; }
  int close_result() const { return close_result_; }
  // Ends the dialog when the logic asked for it and no handler of it still runs.
  void FinishIfClosing();

  // The system menu as a popup at `global_pos`, unless the window is busy or its close
  // item is off.
  void ShowSystemMenu(const QPoint& global_pos);
  // Opens the system menu when `key` is one of the keys that ask for it; false for any
  // other key, which then goes its usual way.
  bool OpenMenuOnKey(const QKeyEvent& key);
  // Hands the logic a notification as if the user had caused it.
  void Deliver(int id, ui::Notification notification);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // QDialog's own Escape and close paths would end the dialog behind the logic's back.
  void reject() override {}
  void accept() override {}

 private:
  void Build();
  // `built` holds the widget of each of the template's controls, in its order.
  void CentreRowLabels(const std::vector<QWidget*>& built);

  QtHost& host_;
  const ui::DialogTemplate& dialog_;
  ui::DialogLogic& logic_;
  std::unique_ptr<QtControls> controls_;
  int busy_depth_ = 0;
  bool close_enabled_ = true;
  bool close_requested_ = false;
  int close_result_ = 0;
};

}  // namespace pelgar::hosts::qt
