#include "editor/ui/linkpanel_machine_link.h"

#include "design/ui/card_write_dlg.h"
#include "design/ui/write_card_m.h"
#include "link/panel/linkpanel.h"

namespace editor_ui {

// The machine's send list asks the machine's program version before a design of more than
// 32,700 stitches goes.
constexpr int kAskVersion = 1;
// The version command asks even when the version is known.
constexpr int kForceVersionDialog = 1;

int LinkpanelMachineLink::SendFileList(const std::string& listFile) {
  return DirectFilesDownload(frame_, listFile.c_str(), kAskVersion);
}

int LinkpanelMachineLink::ReceiveDesigns() { return UploadData(frame_); }

int LinkpanelMachineLink::DeleteDesigns() { return DeleteData(frame_); }

int LinkpanelMachineLink::CommSettings() { return SetSerialCommParamDlg(frame_); }

int LinkpanelMachineLink::SelectVersion() { return CheckVersionDlg(frame_, kForceVersionDialog); }

bool LinkpanelMachineLink::WriteCard(const std::string& listFile) {
  design_ui::CCardWriteDlg dialog(frame_, volumes_, version_);
  dialog.SetListPath(QString::fromStdString(listFile));
  return dialog.exec() == QDialog::Accepted;
}

std::string LinkpanelMachineLink::ManageCard(const std::string& folder) {
  design_ui::CWriteCardM dialog(frame_, volumes_, version_, QString::fromStdString(folder));
  dialog.exec();
  return dialog.ChosenFolder().toStdString();
}

}  // namespace editor_ui
