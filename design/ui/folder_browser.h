#pragma once

// The folder browser: asks the user for a folder on the PC, starting at a given one.
// Holds the chosen folder with a trailing separator, or nothing when the user cancelled.

#include <QString>
#include <QWidget>

namespace design_ui {

class CFolderBrowser {
 public:
  CFolderBrowser(QWidget* owner, const QString& title, const QString& startFolder);
  const QString& GetFolder() const { return folder_; }

 private:
  QString folder_;
};

}  // namespace design_ui
