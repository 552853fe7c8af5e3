#pragma once

#include <QStringList>
#include <optional>
#include <string>

#include "ui/host/FileDialogs.h"

class QFileDialog;

namespace pelgar::hosts::qt {

class QtHost;

// The common file dialogs with Qt, over the window on top.
class QtFileDialogs : public ui::FileDialogs {
 public:
  explicit QtFileDialogs(QtHost& host) : host_(host) {}
  std::optional<std::string> Choose(const ui::FileDialogRequest& request) override;

 private:
  QtHost& host_;
};

// Lists a file dialog's entries with their name, size, type and date, each column as wide as
// what it shows and the dialog as wide as the columns.
void ShowDetailsWhole(QFileDialog& dialog);

// The request's filters as Qt name filters. File names here are case-sensitive, so a
// pattern such as "*.HEX" also lists "*.hex", and "*.*" lists files without a dot too.
QStringList NameFilters(const ui::FileDialogRequest& request);

}  // namespace pelgar::hosts::qt
