// The nine functions the programs call. The transfer exports share one frame: bind the
// USB link if it is there, run the dialog (which joins its worker when it ends), then let
// the USB link go.

#include "link/panel/linkpanel.h"

#include <cstring>
#include <functional>
#include <string>

#include "link/panel/link_settings.h"
#include "link/panel/machine_dialogs.h"
#include "link/panel/panel_dialogs.h"
#include "link/panel/transfer_frame.h"
#include "link/panel/usb_link.h"
#include "platform/file_io.h"
#include "platform/work_folder.h"

namespace {

constexpr const char* kPanelListFileName = "SendList.tp$";

int WithLinkBound(const std::function<int()>& runDialog) {
  (void)linkpanel::LoadUsbLink();
  const int end = runDialog();
  (void)linkpanel::UsbTerminate();
  linkpanel::UnloadUsbLink();
  return end;
}

// Copies text into a caller's buffer of capacity bytes, cut to fit with its NUL.
void CopyToBuffer(const std::string& text, char* buffer, unsigned capacity) {
  if (buffer == nullptr || capacity == 0) return;
  const std::size_t length = std::min<std::size_t>(text.size(), capacity - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

std::string FolderWithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

}  // namespace

extern "C" {

int CheckVersionDlg(LinkWindow owner, int force) {
  if (force == 0 && linkpanel::GetVersionCode() == linkpanel::kVersionNew) return 1;
  return linkpanel::RunVersionDialog(owner, force != 0);
}

int DeleteData(LinkWindow owner) {
  return WithLinkBound([&] { return linkpanel::RunDeleteDesigns(owner); }) > 0 ? 1 : 0;
}

int UploadData(LinkWindow owner) {
  return WithLinkBound([&] { return linkpanel::RunReceiveDesigns(owner); }) > 0 ? 1 : 0;
}

int DirectDownload(LinkWindow owner, const void* design, unsigned size, const char* name) {
  linkpanel::SendRequest request;
  request.mode = linkpanel::SendMode::kDirect;
  request.design = design;
  request.designSize = size;
  request.name = linkpanel::DirectNameOf(name);
  const int end = WithLinkBound([&] { return linkpanel::RunSendDesignsDialog(owner, request); });
  return end > 0 ? 1 : 0;
}

int DirectFilesDownload(LinkWindow owner, const char* listFile, int askVersion) {
  linkpanel::SendRequest request;
  request.mode = linkpanel::SendMode::kFileList;
  request.listFile = listFile ? listFile : "";
  request.askVersion = askVersion == 1;
  const int end = WithLinkBound([&] { return linkpanel::RunSendDesignsDialog(owner, request); });
  return end > 0 ? end : 0;
}

int GetTransferStatus(void) { return linkpanel::TransferBusy() ? 1 : 0; }

int GetVersionCode(void) { return linkpanel::GetVersionCode(); }

int SetSerialCommParamDlg(LinkWindow owner) {
  return linkpanel::RunCommSettingsDialog(owner) > 0 ? 1 : 0;
}

int TransferQNFFiles(LinkWindow owner, char* folder, unsigned folderCapacity) {
  std::string startFolder;
  if (folder != nullptr && folderCapacity > 0) {
    startFolder.assign(folder, strnlen(folder, folderCapacity));
  }
  const std::filesystem::path listFile = platform::ProgramWorkFile(kPanelListFileName);
  return WithLinkBound([&] {
    const linkpanel::SendPanelResult panel = linkpanel::RunSendPanel(owner, startFolder, listFile);
    if (panel.end < 0) return 0;
    CopyToBuffer(FolderWithoutTrailingSeparator(panel.folder), folder, folderCapacity);
    if (panel.end == 1) {
      linkpanel::SetLastDestination(panel.destination);
      linkpanel::SendRequest request;
      request.mode = linkpanel::SendMode::kFileList;
      request.listFile = listFile.string();
      (void)linkpanel::RunSendDesignsDialog(owner, request);
    }
    (void)platform::RemoveFile(listFile);
    return 1;
  });
}

}  // extern "C"
