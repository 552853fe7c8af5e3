#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "hosts/qt/QtControls.h"
#include "ui/host/DialogLogic.h"
#include "ui/host/DialogTemplate.h"
#include "ui/host/ModalStack.h"

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
class DialogWindow : public QDialog, public ui::ModalWindow {
 public:
  DialogWindow(QtHost& host, const ui::DialogTemplate& dialog, ui::DialogLogic& logic,
               QWidget* parent);
  ~DialogWindow() override;

  QtControls& controls() { return *controls_; }
  const ui::DialogTemplate& dialog_template() const { return dialog_; }
  ui::DialogLogic& logic() { return logic_; }

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
  void Finish(int result) override { done(result); }

 private:
  void Build();
  // `built` holds the widget of each of the template's controls, in its order.
  void CentreRowLabels(const std::vector<QWidget*>& built);

  QtHost& host_;
  const ui::DialogTemplate& dialog_;
  ui::DialogLogic& logic_;
  std::unique_ptr<QtControls> controls_;
};

}  // namespace pelgar::hosts::qt
