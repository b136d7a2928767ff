#include "design/ui/folder_browser.h"

#include <QFileDialog>

namespace design_ui {

CFolderBrowser::CFolderBrowser(QWidget* owner, const QString& title, const QString& startFolder) {
  // Folders of the local file system only.
  const QString chosen = QFileDialog::getExistingDirectory(
      owner, title, startFolder, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
  if (chosen.isEmpty()) return;
  folder_ = chosen.endsWith('/') ? chosen : chosen + '/';
}

}  // namespace design_ui
