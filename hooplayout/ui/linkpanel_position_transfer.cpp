#include "hooplayout/ui/linkpanel_position_transfer.h"

#include "design/ui/card_write_dlg.h"
#include "link/panel/linkpanel.h"

namespace hooplayout_ui {

namespace {
constexpr int kAskVersion = 1;
}  // namespace

int LinkpanelPositionTransfer::SendList(const std::filesystem::path& listFile) {
  return DirectFilesDownload(static_cast<LinkWindow>(owner_), listFile.c_str(), kAskVersion);
}

bool LinkpanelPositionTransfer::WriteListToCard(const std::filesystem::path& listFile) {
  design_ui::CCardWriteDlg dialog(owner_, volumes_, version_);
  dialog.SetListPath(QString::fromStdString(listFile.string()));
  const bool accepted = dialog.exec() == QDialog::Accepted;
  return accepted && dialog.Model().WroteAll();
}

}  // namespace hooplayout_ui
