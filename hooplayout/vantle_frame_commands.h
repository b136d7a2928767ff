#pragma once

// The main frame's commands of Vantle: the link settings, receiving and deleting designs on
// the machine and the machine's program version through Linkpanel, and the card manager.
// The dialogs are behind MachineDialogs, so the rules run without a screen.

#include <functional>
#include <string>

#include "platform/command_router.h"
#include "platform/message_box.h"

namespace hooplayout {

inline constexpr char kCreateDialogFailure[] = "Create dialogbox failure.";
inline constexpr char kCardListKey[] = "QnfList";

class MachineDialogs {
 public:
  virtual ~MachineDialogs() = default;
  // Linkpanel's SetSerialCommParamDlg, DeleteData and UploadData: zero when no dialog
  // could be made.
  virtual int CommSettings() = 0;
  virtual int DeleteDesigns() = 0;
  virtual int ReceiveDesigns() = 0;
  // CheckVersionDlg, asking even when the version is known.
  virtual int SelectVersion() = 0;
  // The card manager started in folder: the path it ended with, or empty.
  virtual std::string ManageCard(const std::string& folder) = 0;
};

class CVantleFrameCommands : public platform::CommandTarget {
 public:
  // programFolder: where the card manager starts when the profile names no folder;
  // repaint redraws the frame after a transfer (the designs were not drawn while it ran).
  CVantleFrameCommands(MachineDialogs& dialogs, std::string programFolder, std::function<void()> repaint);

  void SetOwner(platform::WindowHandle owner) { owner_ = owner; }

  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;

 private:
  void ReportIfNoDialog(int result) const;
  void ManageCard();

  MachineDialogs& dialogs_;
  std::string programFolder_;
  std::function<void()> repaint_;
  platform::WindowHandle owner_ = nullptr;
};

}  // namespace hooplayout
