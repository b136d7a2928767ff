#pragma once

// The commands of the "&Halvora" and "&ATA Card" menus: sending the layout's designs to
// the machine, receiving and deleting designs on it, the link settings and the machine's
// program version through Linkpanel, and writing the designs to an ATA PC card or managing
// the card. The dialogs themselves are behind MachineLink, so the rules run without a
// screen.

#include <functional>
#include <string>

#include "editor/brodera_doc.h"
#include "platform/command_router.h"
#include "platform/message_box.h"

namespace editor {

class TempDesignBatch;

constexpr char kCreateDialogFailure[] = "Create dialogbox failure.";
constexpr char kCardFolderSection[] = "Design Path";
constexpr char kCardFolderKey[] = "Card";

// What the commands ask of Linkpanel and of the card dialogs, each over the main frame.
class MachineLink {
 public:
  virtual ~MachineLink() = default;
  // DirectFilesDownload with the version question: 1 transfer ended, 2 closed before
  // Start, 0 no dialog.
  virtual int SendFileList(const std::string& listFile) = 0;
  // UploadData, DeleteData, SetSerialCommParamDlg: nonzero when the dialog could be made.
  virtual int ReceiveDesigns() = 0;
  virtual int DeleteDesigns() = 0;
  virtual int CommSettings() = 0;
  // CheckVersionDlg asking always: negative when no dialog could be made.
  virtual int SelectVersion() = 0;
  // "Write Designs to ATA PC Card" over the list: true when it ended with OK.
  virtual bool WriteCard(const std::string& listFile) = 0;
  // The card manager started in folder: the folder of the path it ended with, or empty.
  virtual std::string ManageCard(const std::string& folder) = 0;
};

class CMachineCommands : public platform::CommandTarget {
 public:
  // workFolder holds the temporary files; programFolder is the card manager's first folder.
  // repaint redraws the frame after a transfer (the designs were not drawn while it ran).
  CMachineCommands(const CBroderaDoc& doc, MachineLink& link, std::string workFolder,
                   std::string programFolder, std::function<void()> repaint);

  // The window the commands' own messages stand over.
  void SetOwner(platform::WindowHandle owner) { owner_ = owner; }

  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;

  void SendDesigns();
  void WriteDesigns();
  void ManageCard();

 private:
  // False, after saying so, when a design is too large for every hoop.
  bool EveryDesignFitsAHoop() const;
  // Writes the layout's designs under the next send letter, which it returns.
  char WriteBatch(TempDesignBatch& batch) const;
  void StoreLetter(char letter) const;
  void ReportIfNoDialog(bool made) const;

  const CBroderaDoc& doc_;
  MachineLink& link_;
  std::string workFolder_;
  std::string programFolder_;
  std::function<void()> repaint_;
  platform::WindowHandle owner_ = nullptr;
};

}  // namespace editor
