#include "hooplayout/ui/linkpanel_position_transfer.h"

#include "design/ui/card_write_dlg.h"
#include "link/panel/linkpanel.h"

namespace hooplayout_ui {

namespace {
constexpr int kAskVersion = 1;
// DirectFilesDownload: 1 the send ran to its end, 2 the dialog closed before the start, 0
// no dialog.
constexpr int kSendRan = 1;
constexpr int kSendNotStarted = 2;
}  // namespace

hooplayout::SendOutcome LinkpanelPositionTransfer::SendList(const std::filesystem::path& listFile) {
  switch (DirectFilesDownload(static_cast<LinkWindow>(owner_), listFile.c_str(), kAskVersion)) {
    case kSendRan: return hooplayout::SendOutcome::kRan;
    case kSendNotStarted: return hooplayout::SendOutcome::kNotStarted;
    default: return hooplayout::SendOutcome::kNoDialog;
  }
}

bool LinkpanelPositionTransfer::WriteListToCard(const std::filesystem::path& listFile) {
  design_ui::CCardWriteDlg dialog(owner_, volumes_, version_);
  dialog.SetListPath(QString::fromStdString(listFile.string()));
  const bool accepted = dialog.exec() == QDialog::Accepted;
  return accepted && dialog.Model().WroteAll();
}

}  // namespace hooplayout_ui
